// The window-system services start-up and the saver ask of the platform.
#pragma once

#include <cstdint>
#include <string_view>

namespace vx {

using WindowHandle = uint64_t;  // an X11 window id on Linux, an HWND on Windows

struct WindowRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// The primary screen's size in twips and its twips-per-pixel factors.
struct ScreenMetrics {
  double width_twips = 0;
  double height_twips = 0;
  float twips_per_pixel_x = 15;
  float twips_per_pixel_y = 15;
};

inline constexpr uint32_t kSpiSetScreenSaverRunning = 97;
inline constexpr uint32_t kSpiSetScreenSaveActive = 17;
inline constexpr uint32_t kMbIconExclamation = 48;

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;
  // True when a top-level window with exactly this caption exists.
  virtual bool FindWindowByCaption(std::string_view caption) = 0;
  // Returns the new display count, as the platform's ShowCursor does.
  virtual int32_t ShowCursor(bool show) = 0;
  virtual void SystemParametersInfo(uint32_t action, int32_t ui_param) = 0;
  // False (and the rectangle left as it was) when the handle is not a window.
  virtual bool GetWindowRect(WindowHandle window, WindowRect& rect) = 0;
  virtual void DrawAnimatedRects(WindowHandle window, int32_t animation, const WindowRect& from,
                                 const WindowRect& to) = 0;
  virtual ScreenMetrics Screen() = 0;
  // `text` as designed, in Japanese; the platform shows it in the user's language.
  virtual void MessageBox(std::string_view text, std::string_view title, uint32_t style) = 0;
  // The mark of the one saver or settings dialog this user runs on this display, taken in one
  // step, so that of several programs starting together exactly one gets it; held until the
  // process ends, however it ends. False when another process holds it.
  virtual bool ClaimSingleInstance() = 0;
  // True when another process holds that mark now.
  virtual bool SingleInstanceClaimed() = 0;
};

}  // namespace vx
