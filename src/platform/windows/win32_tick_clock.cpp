#include "platform/windows/win32_tick_clock.h"

#include <windows.h>

namespace vx {

uint32_t Win32TickClock::Ticks() {
  return GetTickCount();
}

}  // namespace vx
