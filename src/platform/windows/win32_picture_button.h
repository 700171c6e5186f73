// The settings dialog's picture button as a Win32 window class of its own: it feeds mouse,
// focus and hover-poll events to the core control and paints the faces it asks for
// (gradient, eight border slices of a state picture, caption).
#pragma once

#include <functional>
#include <string>

#include "controls/picture_button.h"

struct HWND__;
struct HFONT__;
struct HBITMAP__;

namespace vx {

class Win32PictureButton final : private PictureButtonSurface {
 public:
  // At x, y, width x height pixels in `parent`, designed as width_twips x height_twips;
  // `dpi` turns the face's twips into pixels.
  Win32PictureButton(HWND__* parent, int x, int y, int width, int height, int width_twips,
                     int height_twips, int dpi, const std::string& caption, HFONT__* font);
  ~Win32PictureButton() override;
  Win32PictureButton(const Win32PictureButton&) = delete;
  Win32PictureButton& operator=(const Win32PictureButton&) = delete;

  HWND__* Window() const { return window_; }
  PictureButton& Button() { return button_; }
  void OnClick(std::function<void()> click) { button_.on_click = std::move(click); }

  // The window procedure's handler for this button's messages.
  intptr_t Handle(unsigned message, uintptr_t wparam, intptr_t lparam);

 private:
  void Paint(const FaceDrawing& face) override;
  void SetCaptionEnabled(bool enabled) override;
  void SetCaption(const std::string& text) override { caption_ = text; }
  void SetCaptionColour(int32_t colour) override { caption_colour_ = colour; }
  void SetCaptionFont(const FontSpec&) override {}  // the dialog's font, whatever is stored
  void StartHoverTimer(int interval_ms) override;
  int Px(int twips) const;
  void PaintWindow();

  HWND__* window_ = nullptr;
  HFONT__* font_ = nullptr;
  HBITMAP__* face_ = nullptr;  // the last face drawn, the window's size
  int width_ = 0, height_ = 0, width_twips_ = 0, height_twips_ = 0, dpi_ = 96;
  std::string caption_;
  int32_t caption_colour_ = 0;
  bool caption_enabled_ = true;
  int caption_top_ = 0, caption_width_ = 0;  // twips
  PictureButton button_{*this};
};

}  // namespace vx
