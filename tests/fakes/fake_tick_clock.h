// A tick clock that stands still until a test moves it.
#pragma once

#include "core/tick_clock.h"

namespace vx {

class FakeTickClock final : public TickClock {
 public:
  uint32_t Ticks() override { return now; }
  uint32_t now = 0;
};

}  // namespace vx
