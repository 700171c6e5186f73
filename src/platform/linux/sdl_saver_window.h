// The saver's windows on SDL2: full screen (one window over each monitor when there are
// several), a window of a given size, or a foreign X window (XScreenSaver's), made for OpenGL
// 3.3 core contexts, delivering every window's keys, clicks and termination requests to the
// one loop.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "saver/saver_session.h"

struct SDL_Window;

namespace vx {

struct SaverWindowOptions {
  std::optional<std::pair<int, int>> windowed;  // a normal window of this size
  bool hide_cursor = false;
  uint64_t foreign_window = 0;     // draw into this X window (XScreenSaver), input left to it
  int width = 1280, height = 720;  // full-screen size, from the settings record
  // With two monitors or more, full screen means a window over each, the primary first:
  // every one drawing a scene, or with `scene_on_every_monitor` false the primary alone,
  // the others black.
  std::vector<ScreenArea> monitors;
  bool scene_on_every_monitor = true;
};

class SdlSaverWindow final : public SaverWindow {
 public:
  // Throws std::runtime_error with a readable reason when no window or context can be made.
  explicit SdlSaverWindow(const SaverWindowOptions& options);
  ~SdlSaverWindow() override;
  SdlSaverWindow(const SdlSaverWindow&) = delete;
  SdlSaverWindow& operator=(const SdlSaverWindow&) = delete;

  void ShowTopmost() override;
  std::optional<SaverEvent> PollEvent() override;
  void WaitForEvent(uint32_t timeout_ms) override;

  // The windows that show a scene: the main one ("Vexlum_Main", the primary monitor's) first.
  int ScreenCount() const { return static_cast<int>(screens_.size()); }
  SDL_Window* ScreenWindow(int screen) const { return screens_.at(static_cast<size_t>(screen)); }
  SDL_Window* window() const { return window_; }
  // True when we draw in a host's window and the host has taken it away.
  bool HostGone();

 private:
  // In a host's window we draw in a child of our own covering it, so that what SDL selects
  // on its window never collides with the host's own selections; the child follows the
  // host's size, and the host going away ends the saver.
  void MakeChildOfHost(uint64_t host);
  std::optional<SaverEvent> PollHost();
  // A window over each monitor, the first one the main window.
  void MakeMonitorWindows(const SaverWindowOptions& options);
  // Black covers have no GL context: SDL fills them, again whenever the server asks.
  void PaintCover(SDL_Window* cover);
  bool IsCover(uint32_t window_id) const;

  SDL_Window* window_ = nullptr;  // the main window
  std::vector<SDL_Window*> screens_;
  std::vector<SDL_Window*> covers_;
  bool foreign_ = false;
  void* display_ = nullptr;  // our own Xlib connection for the host (Display*)
  uint64_t host_ = 0, child_ = 0;
};

}  // namespace vx
