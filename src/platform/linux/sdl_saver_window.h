// The saver's window on SDL2: full screen (or a window of a given size, or off-screen), with
// an OpenGL 3.3 core context, delivering keys, clicks and termination requests to the loop.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "saver/vx_s.h"

struct SDL_Window;

namespace vx {

struct SaverWindowOptions {
  std::optional<std::pair<int, int>> windowed;  // a normal window of this size
  bool headless = false;                        // SDL's offscreen driver, no X server
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
  int DrawableWidth() const;
  int DrawableHeight() const;

  // SIGTERM, SIGINT and SIGHUP become a quit request seen by PollEvent on the loop's thread.
  static void InstallSignalHandlers();

 private:
  SDL_Window* window_ = nullptr;
  void* context_ = nullptr;  // SDL_GLContext
  bool foreign_ = false;
  bool headless_ = false;
};

}  // namespace vx
