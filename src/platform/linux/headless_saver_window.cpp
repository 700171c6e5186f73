#include "platform/linux/headless_saver_window.h"

#include <SDL.h>

#include "platform/linux/termination_signals.h"

namespace vx {

std::optional<SaverEvent> HeadlessSaverWindow::PollEvent() {
  if (!TakeTerminationRequest()) return std::nullopt;
  return SaverEvent{SaverEvent::kQuit, 0};
}

void HeadlessSaverWindow::WaitForEvent(uint32_t timeout_ms) {
  // A signal interrupts the sleep early enough: the wait is never longer than a frame.
  if (!TerminationRequested()) SDL_Delay(timeout_ms);
}

}  // namespace vx
