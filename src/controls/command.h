// Command: the owner-drawn push button. This is its behaviour (hover, focus, press, Click, the
// stored properties and the face geometry); a platform widget feeds it events and paints what
// it asks for through CommandSurface.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <string>

namespace vx {

// The six state pictures, each 64 x 25 pixels (960 x 375 twips).
enum class FacePicture { Normal, HighLight, HighLightSelect, Selected, Pressed, Disable };

enum class MouseButton { Left, Right, Middle };

// What the hover poll found under the cursor.
enum class WindowUnderCursor { Control, ParentForm, Other };

// One stretched copy: destination and source rectangles in twips.
struct Slice {
  int16_t DestLeft, DestTop, DestWidth, DestHeight;
  int16_t SrcLeft, SrcTop, SrcWidth, SrcHeight;
};

// One gradient vertex as the platform's gradient fill takes it: channels are 8-bit values
// times 256.
struct GradientVertex {
  int32_t X = 0, Y = 0;
  uint16_t Red = 0, Green = 0, Blue = 0, Alpha = 0;
};

// Everything one face drawing consists of; the surface paints it in this order: clear, the
// vertical gradient from Top to Bottom, then the eight slices of Picture.
struct FaceDrawing {
  FacePicture Picture = FacePicture::Normal;
  bool Opaque = true;  // a transparent control shows only its caption
  GradientVertex Top, Bottom;
  std::array<Slice, 8> Slices{};
  int32_t CaptionTop = 0;  // twips
  int32_t CaptionWidth = 0;
};

struct FontSpec {
  std::string Face = "IPAPGothic";
  double Points = 9.75;
  bool Bold = false;
  bool Italic = false;
  int16_t Charset = 128;  // Shift-JIS
  bool operator==(const FontSpec&) const = default;
};

// The platform side: paints faces and styles the caption.
class CommandSurface {
 public:
  virtual ~CommandSurface() = default;
  virtual void Paint(const FaceDrawing& face) = 0;
  virtual void SetCaptionEnabled(bool enabled) = 0;
  virtual void SetCaption(const std::string& text) = 0;
  virtual void SetCaptionColour(int32_t colour) = 0;  // &HBBGGRR
  virtual void SetCaptionFont(const FontSpec& font) = 0;
  virtual void StartHoverTimer(int interval_ms) = 0;
};

// Stored properties: name to text, as the host's persistence keeps them.
using PropertyBag = std::map<std::string, std::string>;

class Command {
 public:
  static constexpr int16_t kTrue = -1;
  static constexpr int16_t kFalse = 0;
  static constexpr int kHoverIntervalMs = 100;

  explicit Command(CommandSurface& surface) : surface_(surface) {}

  std::function<void()> Click;

  // Host calls.
  void Initialize();
  void ReadProperties(const PropertyBag& bag, const FontSpec& ambient_font);
  void WriteProperties(PropertyBag& bag, const FontSpec& ambient_font);
  void Resize(int32_t width_twips, int32_t height_twips, float pixel_width, float pixel_height);

  // Events of the control and its caption.
  void MouseMove();
  void MouseDown(MouseButton button);
  void MouseUp(MouseButton button);
  void GotFocus();
  void LostFocus();
  void HoverTick(WindowUnderCursor under);

  // Properties.
  int16_t GetEnabled();
  void SetEnabled(bool enabled);
  const std::string& GetCaption() const { return caption_; }
  void SetCaption(const std::string& caption);
  const FontSpec& GetFont() const { return font_; }
  void SetFont(const FontSpec& font);
  int32_t GetFontColour();
  void SetFontColour(int32_t colour);
  uint8_t GetVisible();
  void SetVisible(uint8_t visible);

  // Inspection.
  uint8_t State() const { return state_; }
  int16_t Enabled() const { return enabled_; }
  int16_t MouseIsDown() const { return mouse_is_down_; }
  int16_t GradientReversed() const { return gradient_reversed_; }
  uint8_t FirstRun() const { return first_run_; }
  const FaceDrawing& LastFace() const { return last_face_; }
  bool HoverTimerRunning() const { return hover_timer_; }

  // The slice geometry of a control W x H twips (60-twip corners of a 960 x 375 source).
  static std::array<Slice, 8> SliceGeometry(int32_t width_twips, int32_t height_twips);

 private:
  void DrawFace(FacePicture picture);
  void PaintGradient(FaceDrawing& face) const;
  void MouseLeft();
  void ApplyEnabledLook();
  void RefreshCaption();

  CommandSurface& surface_;
  uint8_t state_ = 0;
  int16_t enabled_ = kFalse;
  int16_t mouse_is_down_ = kFalse;
  int16_t gradient_reversed_ = kFalse;
  uint8_t first_run_ = 0;
  bool opaque_ = true;
  bool hover_timer_ = false;
  std::string caption_ = "Command";
  FontSpec font_;
  int32_t font_colour_ = 0;
  int32_t width_ = 1755, height_ = 420;  // twips
  float pixel_width_ = 117, pixel_height_ = 28;
  int32_t caption_height_ = 195;
  FaceDrawing last_face_;
};

}  // namespace vx
