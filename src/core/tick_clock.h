// Millisecond tick count, as the frame loop's pacing reads it. Wraps at 32 bits.
#pragma once

#include <chrono>
#include <cstdint>

namespace vx {

class TickClock {
 public:
  virtual ~TickClock() = default;
  virtual uint32_t Ticks() = 0;
};

class SteadyTickClock final : public TickClock {
 public:
  uint32_t Ticks() override {
    using namespace std::chrono;
    return static_cast<uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
  }
};

}  // namespace vx
