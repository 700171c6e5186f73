#include "platform/linux/posix_headless_saver_window.h"

#include <time.h>

#include "platform/linux/posix_termination_signals.h"

namespace vx {

std::optional<SaverEvent> PosixHeadlessSaverWindow::PollEvent() {
  if (!TakeTerminationRequest()) return std::nullopt;
  return SaverEvent{SaverEvent::kQuit, 0};
}

void PosixHeadlessSaverWindow::WaitForEvent(uint32_t timeout_ms) {
  // A termination signal cuts the sleep short.
  if (TerminationRequested()) return;
  const timespec wait{static_cast<time_t>(timeout_ms / 1000),
                      static_cast<long>(timeout_ms % 1000) * 1000000L};
  nanosleep(&wait, nullptr);
}

}  // namespace vx
