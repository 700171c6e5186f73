// A window timer run on the loop's own thread: it fires between frames once its interval has
// passed, never from another thread.
#pragma once

#include <cstdint>
#include <limits>

namespace vx {

class WindowTimer {
 public:
  explicit WindowTimer(uint32_t interval_ms) : interval_(interval_ms) {}

  void Enable(uint32_t now) {
    if (!enabled_) due_ = now + interval_;
    enabled_ = true;
  }
  void Disable() { enabled_ = false; }
  bool Enabled() const { return enabled_; }

  // True when the timer is due at `now`; the next firing is an interval later. Like a window
  // timer it fires at most once however late the loop comes round.
  bool Due(uint32_t now) {
    if (!enabled_ || static_cast<int32_t>(now - due_) < 0) return false;
    due_ = now + interval_;
    return true;
  }
  uint32_t MsUntilDue(uint32_t now) const {
    if (!enabled_) return std::numeric_limits<uint32_t>::max();
    const auto left = static_cast<int32_t>(due_ - now);
    return left > 0 ? static_cast<uint32_t>(left) : 0u;
  }

 private:
  uint32_t interval_;
  uint32_t due_ = 0;
  bool enabled_ = false;
};

}  // namespace vx
