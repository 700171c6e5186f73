#include "platform/linux/linux_mode_runner.h"

#include <iostream>

#include "platform/linux/x11_preview.h"

namespace vx {

int LinuxModeRunner::RunPreview(StartupState&, int32_t host_window) {
  // X window ids are positive 29-bit numbers; anything else cannot name a window.
  if (host_window <= 0) {
    std::cerr << "vexlum: /p needs the id of the host's window\n";
    return 1;
  }
  return RunX11Preview(static_cast<uint64_t>(host_window));
}

int LinuxModeRunner::RunSettingsDialog(StartupState&) {
  std::cerr << "vexlum: the settings dialog is not in this build\n";
  return 1;
}

int LinuxModeRunner::RunSaver(StartupState&) {
  std::cerr << "vexlum: the saver is not in this build\n";
  return 1;
}

}  // namespace vx
