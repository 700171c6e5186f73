// The frame loop's pacing: a frame is drawn while the average rate since the start of the
// measuring period is at most the cap. Instead of spinning between frames, the loop asks how
// long until the next frame is due and sleeps that long (or until input arrives).
#pragma once

#include <cstdint>

namespace vx {

class FramePacer {
 public:
  static constexpr int32_t kResetAbove = 1000000;

  // cap < 0 means no cap (every pass draws).
  FramePacer(int32_t cap, uint32_t now) : cap_(cap) { Restart(now); }

  // One pass at tick `now`: measures the average, resets the period when the counter has
  // run past its limit, and says whether this pass draws a frame (counting it if so).
  bool Pass(uint32_t now);

  // Milliseconds from `now` until a pass would draw (0 when it would draw now).
  uint32_t MsUntilDue(uint32_t now) const;

  int32_t FrameCount() const { return frame_count_; }
  int32_t FramesPerSecond() const { return fps_; }
  uint32_t StartTick() const { return start_tick_; }
  // Test hook: the counter as if this many frames had been drawn in this period.
  void SetFrameCount(int32_t n) { frame_count_ = n; }

 private:
  void Restart(uint32_t now) {
    start_tick_ = now - 1u;  // keeps the first elapsed time above 0
    frame_count_ = 0;
  }
  int32_t Average(uint32_t now) const;

  int32_t cap_;
  uint32_t start_tick_ = 0;
  int32_t frame_count_ = 0;
  int32_t fps_ = 0;
};

}  // namespace vx
