// The saver's window on SDL2: full screen, a window of a given size, or a foreign X window
// (XScreenSaver's), made for an OpenGL 3.3 core context, delivering keys, clicks and
// termination requests to the loop.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "saver/saver_session.h"

struct SDL_Window;

namespace vx {

struct SaverWindowOptions {
  std::optional<std::pair<int, int>> windowed;  // a normal window of this size
  bool hide_cursor = false;
  uint64_t foreign_window = 0;     // draw into this X window (XScreenSaver), input left to it
  int width = 1280, height = 720;  // full-screen size, from the settings record
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

  SDL_Window* window() const { return window_; }
  // True when we draw in a host's window and the host has taken it away.
  bool HostGone();

 private:
  // In a host's window we draw in a child of our own covering it, so that what SDL selects
  // on its window never collides with the host's own selections; the child follows the
  // host's size, and the host going away ends the saver.
  void MakeChildOfHost(uint64_t host);
  std::optional<SaverEvent> PollHost();

  SDL_Window* window_ = nullptr;
  bool foreign_ = false;
  void* display_ = nullptr;  // our own Xlib connection for the host (Display*)
  uint64_t host_ = 0, child_ = 0;
};

}  // namespace vx
