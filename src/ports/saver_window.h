// The window the saver draws in, as its loop sees it: input and termination requests come
// out of it, and the loop sleeps in it between frames.
#pragma once

#include <cstdint>
#include <optional>

namespace vx {

// Virtual-key codes of the two keys that change the CD track.
inline constexpr int32_t kVkLeft = 37;
inline constexpr int32_t kVkRight = 39;

// A monitor's place on the desktop, in pixels.
struct ScreenArea {
  int x = 0, y = 0, width = 0, height = 0;
  bool operator==(const ScreenArea&) const = default;
};

struct SaverEvent {
  enum Kind { kKey, kClick, kQuit } kind = kQuit;
  int32_t key_code = 0;  // Windows virtual-key code for kKey
};

// The window the saver draws in, provided by the platform.
class SaverWindow {
 public:
  virtual ~SaverWindow() = default;
  virtual void ShowTopmost() = 0;
  // Next pending input, if any. kQuit stands for a termination request (a signal, the
  // window closed by the system).
  virtual std::optional<SaverEvent> PollEvent() = 0;
  // Sleeps until input arrives or `timeout_ms` has passed.
  virtual void WaitForEvent(uint32_t timeout_ms) = 0;
};

}  // namespace vx
