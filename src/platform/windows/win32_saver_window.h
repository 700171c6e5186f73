// The saver's windows on Win32: a topmost pop-up classed and captioned "Vexlum_Main" over the
// primary monitor (or a normal window of a given size), a topmost pop-up over every other
// monitor (each with a scene of its own, or black), and the keys, clicks and close requests
// of all of them handed to the one loop.
#pragma once

#include <deque>
#include <optional>
#include <utility>
#include <vector>

#include "ports/saver_window.h"

struct HWND__;

namespace vx {

struct Win32SaverWindowOptions {
  std::optional<std::pair<int, int>> windowed;  // a normal window with this client size
  bool hide_cursor = false;                     // no cursor over the saver's windows
  bool scene_on_every_monitor = true;           // false: the other monitors stay black
};

class Win32SaverWindow final : public SaverWindow {
 public:
  // Throws std::runtime_error saying why when the window cannot be made.
  explicit Win32SaverWindow(const Win32SaverWindowOptions& options);
  ~Win32SaverWindow() override;
  Win32SaverWindow(const Win32SaverWindow&) = delete;
  Win32SaverWindow& operator=(const Win32SaverWindow&) = delete;

  void ShowTopmost() override;
  std::optional<SaverEvent> PollEvent() override;
  void WaitForEvent(uint32_t timeout_ms) override;

  HWND__* window() const { return window_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  // The windows that show a scene, the main one first: every monitor's, or the main one only.
  int ScreenCount() const { return scenes_on_covers_ ? 1 + static_cast<int>(covers_.size()) : 1; }
  HWND__* ScreenWindow(int screen) const;
  std::pair<int, int> ScreenSize(int screen) const;

  // The process is about to end: the windows are left for the system to take down with it.
  // Taking a focused window down ourselves waits for the window manager to confirm, which
  // under Wine without one holds the end up for two seconds.
  void LeaveToProcessEnd() { leave_to_process_end_ = true; }

  // Called by the window procedure for every message of our windows; true when handled.
  bool Handle(HWND__* window, unsigned message, uintptr_t wparam, intptr_t lparam,
              intptr_t& result);

 private:
  struct Cover {
    HWND__* window;
    int width, height;
  };
  HWND__* window_ = nullptr;
  std::vector<Cover> covers_;  // over the other monitors (none when windowed)
  bool scenes_on_covers_ = false;
  std::deque<SaverEvent> events_;
  int width_ = 0, height_ = 0;
  bool hide_cursor_ = false;
  bool quit_ = false;
  bool leave_to_process_end_ = false;
};

}  // namespace vx
