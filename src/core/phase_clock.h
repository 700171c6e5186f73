// Time in the animated objects is counted in step units, not milliseconds: every drawn frame
// adds the settings' time step to every running clock.
#pragma once

#include <cstdint>

namespace vx {

// Advances a step-unit clock. Wraps at 32 bits instead of overflowing, so an absurd speed
// from the settings file cannot make the arithmetic undefined.
inline void AddStep(int32_t& clock, int32_t step) {
  clock = static_cast<int32_t>(static_cast<uint32_t>(clock) + static_cast<uint32_t>(step));
}

// The time spent in a phase and the length of that phase. Each phase decides for itself
// whether it ends when `elapsed` reaches `length` or only when it passes it.
struct PhaseClock {
  int32_t elapsed = 0;
  int32_t length = 0;

  void Advance(int32_t step) { AddStep(elapsed, step); }
  // Advances and stops at the phase's length: a ramp that never overshoots its end.
  void AdvanceClamped(int32_t step) {
    Advance(step);
    if (elapsed > length) elapsed = length;
  }
  // How far the phase has run, in percent (of a length that must not be 0).
  double Percent() const {
    return static_cast<double>(elapsed) / static_cast<double>(length) * 100.0;
  }
  // Starts a new phase of the given length.
  void Restart(int32_t new_length) {
    elapsed = 0;
    length = new_length;
  }
};

}  // namespace vx
