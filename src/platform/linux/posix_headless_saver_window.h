// No window at all: the loop renders off-screen and only a signal can end it early.
#pragma once

#include <cstdint>
#include <optional>

#include "ports/saver_window.h"

namespace vx {

class PosixHeadlessSaverWindow final : public SaverWindow {
 public:
  void ShowTopmost() override {}
  std::optional<SaverEvent> PollEvent() override;
  void WaitForEvent(uint32_t timeout_ms) override;
};

}  // namespace vx
