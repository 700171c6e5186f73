#include "controls/picture_button.h"

#include <cctype>
#include <optional>
#include <sstream>

#include "core/numbers.h"

namespace vx {
namespace {

constexpr int16_t kCorner = 60;       // twips: 4 pixels
constexpr int16_t kSourceMidW = 840;  // 960 - 2 x 60
constexpr int16_t kSourceMidH = 255;  // 375 - 2 x 60
constexpr std::string_view kLightColour = "&HFFFFFF";
constexpr std::string_view kDarkColour = "&HC6C5D7";

// The colour constants are read in written order: red, green, blue pairs.
GradientVertex VertexColour(std::string_view text) {
  GradientVertex v;
  auto pair = [&](size_t at) {
    return static_cast<uint16_t>(HexToLong(text.substr(2 + at, 2)) * 256);
  };
  v.red = pair(0);
  v.green = pair(2);
  v.blue = pair(4);
  return v;
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// A stored boolean: "True"/"False" or any number (non-zero is true).
std::optional<int16_t> ParseBool(const std::string& text) {
  std::string t = Lower(text);
  if (t == "true") return PictureButton::kTrue;
  if (t == "false") return PictureButton::kFalse;
  auto n = ParseNumber(text);
  if (!n) return std::nullopt;
  return *n != 0 ? PictureButton::kTrue : PictureButton::kFalse;
}

std::optional<uint8_t> ParseByte(const std::string& text) {
  auto n = ParseNumber(text);
  if (!n) return std::nullopt;
  auto v = ToInt32(*n);
  if (!v || *v < 0 || *v > 255) return std::nullopt;
  return static_cast<uint8_t>(*v);
}

std::string FontText(const FontSpec& f) {
  std::ostringstream out;
  out << f.points << '|' << (f.bold ? 1 : 0) << '|' << (f.italic ? 1 : 0) << '|' << f.charset << '|'
      << f.face;
  return out.str();
}

std::optional<FontSpec> ParseFont(const std::string& text) {
  std::istringstream in(text);
  FontSpec f;
  int bold = 0, italic = 0;
  char bar1 = 0, bar2 = 0, bar3 = 0, bar4 = 0;
  if (!(in >> f.points >> bar1 >> bold >> bar2 >> italic >> bar3 >> f.charset >> bar4))
    return std::nullopt;
  if (bar1 != '|' || bar2 != '|' || bar3 != '|' || bar4 != '|') return std::nullopt;
  std::getline(in, f.face);
  if (f.face.empty() || !(f.points > 0)) return std::nullopt;
  f.bold = bold != 0;
  f.italic = italic != 0;
  return f;
}

// A missing or empty stored value reads as the default.
std::string Stored(const PropertyBag& bag, const std::string& name, const std::string& def) {
  auto it = bag.find(name);
  return it == bag.end() || it->second.empty() ? def : it->second;
}

// Values equal to the stored default are left out of the set.
void Store(PropertyBag& bag, const std::string& name, const std::string& value,
           const std::string& def) {
  if (value == def)
    bag.erase(name);
  else
    bag[name] = value;
}

}  // namespace

std::array<Slice, 8> PictureButton::SliceGeometry(int32_t w, int32_t h) {
  const int16_t mw = ToInt16(w - 120.0).value_or(0);
  const int16_t mh = ToInt16(h - 120.0).value_or(0);
  const auto far_x = static_cast<int16_t>(kCorner + mw);
  const auto far_y = static_cast<int16_t>(kCorner + mh);
  return {{
      {1, 1, kCorner, kCorner, 0, 0, kCorner, kCorner},
      {kCorner, 1, mw, kCorner, 60, 1, kSourceMidW, kCorner},
      {far_x, 1, kCorner, kCorner, 900, 1, kCorner, kCorner},
      {far_x, kCorner, kCorner, mh, 900, 60, kCorner, kSourceMidH},
      {far_x, far_y, kCorner, kCorner, 900, 315, kCorner, kCorner},
      {kCorner, far_y, mw, kCorner, 60, 315, kSourceMidW, kCorner},
      {1, far_y, kCorner, kCorner, 0, 315, kCorner, kCorner},
      {1, kCorner, kCorner, mh, 1, 60, kCorner, kSourceMidH},
  }};
}

void PictureButton::Initialize() {
  state_ = 1;
  hover_timer_ = true;
  surface_.StartHoverTimer(kHoverIntervalMs);
}

void PictureButton::ReadProperties(const PropertyBag& bag, const FontSpec& ambient_font) {
  if (auto v = ParseBool(Stored(bag, "Enabled", "True"))) enabled_ = *v;
  caption_ = Stored(bag, "Caption", "Command1");
  surface_.SetCaption(caption_);
  auto it = bag.find("Font");
  if (it == bag.end()) {
    font_ = ambient_font;
  } else if (auto f = ParseFont(it->second)) {
    font_ = *f;
  }
  surface_.SetCaptionFont(font_);
  if (auto v = ParseByte(Stored(bag, "FirstRun", "1"))) first_run_ = *v;
  if (auto v = ParseNumber(Stored(bag, "FontColour", "0")); v && ToInt32(*v)) {
    font_colour_ = *ToInt32(*v);
    surface_.SetCaptionColour(font_colour_);
  }
  if (auto v = ParseNumber(Stored(bag, "Visible", "1")); v && ToInt16(*v)) opaque_ = *ToInt16(*v);
  RefreshCaption();
}

void PictureButton::WriteProperties(PropertyBag& bag, const FontSpec& ambient_font) {
  Store(bag, "Enabled", enabled_ ? "True" : "False", "True");
  Store(bag, "Caption", caption_, "Command");
  Store(bag, "FirstRun", std::to_string(first_run_), "1");
  Store(bag, "Font", FontText(font_), FontText(ambient_font));
  Store(bag, "FontColour", std::to_string(font_colour_), "0");
  Store(bag, "Visible", opaque_ ? "1" : "0", "1");
  RefreshCaption();
}

void PictureButton::Resize(int32_t width_twips, int32_t height_twips, float pixel_width,
                           float pixel_height) {
  width_ = width_twips;
  height_ = height_twips;
  pixel_width_ = pixel_width;
  pixel_height_ = pixel_height;
  ApplyEnabledLook();
}

void PictureButton::MouseMove() {
  if (!enabled_) return;
  if (state_ == 1) {
    state_ = 2;
    DrawFace(FacePicture::kHighlight);
  } else if (state_ == 3 && !mouse_is_down_) {
    state_ = 4;
    DrawFace(FacePicture::kHighlightSelected);
  }
}

void PictureButton::MouseDown(MouseButton button) {
  if (!enabled_ || button != MouseButton::kLeft) return;
  DrawFace(FacePicture::kPressed);
  mouse_is_down_ = kTrue;
}

void PictureButton::MouseUp(MouseButton button) {
  if (!enabled_) return;
  if (button == MouseButton::kLeft) {
    if (state_ == 2) DrawFace(FacePicture::kNormal);
    if (state_ == 4) DrawFace(FacePicture::kHighlightSelected);
    mouse_is_down_ = kFalse;
  }
  if (enabled_ == kTrue && state_ != 3 && on_click) on_click();
}

void PictureButton::GotFocus() {
  if (!enabled_) return;
  if (state_ == 2) {
    state_ = 4;
    DrawFace(FacePicture::kPressed);
  } else {
    state_ = 3;
    DrawFace(FacePicture::kSelected);
  }
}

void PictureButton::LostFocus() {
  if (!enabled_ || state_ == 1) return;
  state_ = 1;
  DrawFace(FacePicture::kNormal);
}

void PictureButton::KeyPressed() {
  if (enabled_ == kTrue && on_click) on_click();
}

void PictureButton::HoverTick(WindowUnderCursor under) {
  if (under != WindowUnderCursor::kControl) MouseLeft();
}

void PictureButton::MouseLeft() {
  if (!enabled_) return;
  if (state_ == 2) {
    state_ = 1;
    DrawFace(FacePicture::kNormal);
  } else if (state_ == 4) {
    state_ = 3;
    DrawFace(FacePicture::kSelected);
  }
}

int16_t PictureButton::GetEnabled() {
  const int16_t value = enabled_;
  if (first_run_ == 0) {
    // A control placed without stored properties comes alive on its first read.
    RefreshCaption();
    first_run_ = 1;
    enabled_ = kTrue;
  }
  ApplyEnabledLook();
  return value;
}

void PictureButton::SetEnabled(bool enabled) {
  enabled_ = enabled ? kTrue : kFalse;
  ApplyEnabledLook();
}

void PictureButton::SetCaption(const std::string& caption) {
  caption_ = caption;
  surface_.SetCaption(caption_);
}

void PictureButton::SetFont(const FontSpec& font) {
  font_ = font;
  surface_.SetCaptionFont(font_);
}

int32_t PictureButton::GetFontColour() {
  const int32_t value = font_colour_;
  RefreshCaption();
  return value;
}

void PictureButton::SetFontColour(int32_t colour) {
  font_colour_ = colour;
  surface_.SetCaptionColour(colour);
  RefreshCaption();
}

uint8_t PictureButton::GetVisible() {
  if (!opaque_) return 0;
  RefreshCaption();
  return 255;
}

void PictureButton::SetVisible(uint8_t visible) {
  opaque_ = visible != 0;
  if (opaque_) RefreshCaption();
}

void PictureButton::ApplyEnabledLook() {
  if (enabled_) {
    DrawFace(FacePicture::kNormal);
    surface_.SetCaptionEnabled(true);
  } else {
    DrawFace(FacePicture::kDisabled);
    surface_.SetCaptionEnabled(false);
  }
}

void PictureButton::RefreshCaption() {
  if (!enabled_) return;
  surface_.SetCaptionEnabled(true);
  if (first_run_ == 0) {
    font_colour_ = 0;
    surface_.SetCaptionColour(0);
  }
  DrawFace(FacePicture::kNormal);
}

void PictureButton::DrawFace(FacePicture picture) {
  if (state_ == 1 || state_ == 3) gradient_reversed_ = kFalse;
  if (state_ == 2) gradient_reversed_ = kTrue;
  FaceDrawing face;
  face.picture = picture;
  face.opaque = opaque_;
  face.slices = SliceGeometry(width_, height_);
  PaintGradient(face);
  face.caption_top = Round32((height_ - caption_height_ - 20) / 2.0);
  face.caption_width = width_;
  last_face_ = face;
  surface_.Paint(face);
}

void PictureButton::PaintGradient(FaceDrawing& face) const {
  face.top = VertexColour(gradient_reversed_ ? kDarkColour : kLightColour);
  face.bottom = VertexColour(gradient_reversed_ ? kLightColour : kDarkColour);
  face.bottom.x = Round32(pixel_width_ - 1.0);
  face.bottom.y = Round32(pixel_height_ - 1.0);
}

}  // namespace vx
