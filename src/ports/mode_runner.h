// The three modes start-up hands over to, provided by each platform's shell (and by fakes in
// tests).
#pragma once

#include <cstdint>

namespace vx {

// What start-up hands to the mode it runs (startup/mode_dispatch.h).
struct StartupState;

class ModeRunner {
 public:
  virtual ~ModeRunner() = default;
  virtual int RunPreview(StartupState& state, int32_t host_window) = 0;
  virtual int RunSettingsDialog(StartupState& state) = 0;
  virtual int RunSaver(StartupState& state) = 0;
};

}  // namespace vx
