// The frame loop's millisecond ticks from the system's own counter, as the loop was designed
// around it: it wraps every 49.7 days, and the pacing handles the wrap.
#pragma once

#include "core/tick_clock.h"

namespace vx {

class Win32TickClock final : public TickClock {
 public:
  uint32_t Ticks() override;
};

}  // namespace vx
