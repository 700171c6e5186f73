#include "saver/frame_pacer.h"

#include "core/numbers.h"

namespace vx {

int32_t FramePacer::Average(uint32_t now) const {
  // The elapsed time is a wrapping 32-bit difference. A period that measures no time (or,
  // after about 25 days without a reset, a negative one) cannot be averaged: rather than a
  // division by zero that would stop the picture, such a pass counts as below the cap.
  const auto elapsed = static_cast<int32_t>(now - start_tick_);
  if (elapsed <= 0) return 0;
  return Round32(static_cast<double>(frame_count_) / (static_cast<double>(elapsed) / 1000.0));
}

bool FramePacer::Pass(uint32_t now) {
  fps_ = Average(now);
  if (frame_count_ > kResetAbove) Restart(now);
  if (cap_ >= 0 && fps_ > cap_) return false;
  ++frame_count_;
  return true;
}

uint32_t FramePacer::MsUntilDue(uint32_t now) const {
  if (cap_ < 0 || frame_count_ > kResetAbove || Average(now) <= cap_) return 0;
  // The average falls as time passes: find the first tick at which it is back at the cap.
  uint32_t lo = 0, hi = 1;
  while (Average(now + hi) > cap_ && hi < (1u << 30)) hi *= 2;
  while (lo + 1 < hi) {
    const uint32_t mid = lo + (hi - lo) / 2;
    if (Average(now + mid) > cap_)
      lo = mid;
    else
      hi = mid;
  }
  return hi;
}

}  // namespace vx
