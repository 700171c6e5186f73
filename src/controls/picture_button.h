// The owner-drawn push button of the settings dialog. This is its behaviour (hover, focus,
// press, click, the stored properties and the face geometry); a platform widget feeds it events
// and paints what it asks for through PictureButtonSurface.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "controls/face_drawing.h"

namespace vx {

enum class MouseButton { kLeft, kRight, kMiddle };

// What the hover poll found under the cursor.
enum class WindowUnderCursor { kControl, kParentForm, kOther };

// The platform side: paints faces and styles the caption.
class PictureButtonSurface {
 public:
  virtual ~PictureButtonSurface() = default;
  virtual void Paint(const FaceDrawing& face) = 0;
  virtual void SetCaptionEnabled(bool enabled) = 0;
  virtual void SetCaption(const std::string& text) = 0;
  virtual void SetCaptionColour(int32_t colour) = 0;  // &HBBGGRR
  virtual void SetCaptionFont(const FontSpec& font) = 0;
  virtual void StartHoverTimer(int interval_ms) = 0;
};

// Stored properties: name to text, as the host's persistence keeps them.
using PropertyBag = std::map<std::string, std::string>;

class PictureButton {
 public:
  static constexpr int16_t kTrue = -1;
  static constexpr int16_t kFalse = 0;
  static constexpr int kHoverIntervalMs = 100;

  explicit PictureButton(PictureButtonSurface& surface) : surface_(surface) {}

  std::function<void()> on_click;

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
  // Space or Enter while the button has the focus: a click, so that the dialog can be used
  // without a mouse. The mouse's rules above are unchanged.
  void KeyPressed();
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

  PictureButtonSurface& surface_;
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
