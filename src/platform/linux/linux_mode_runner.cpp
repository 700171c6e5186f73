#include "platform/linux/linux_mode_runner.h"

#include <iostream>

namespace vx {

int LinuxModeRunner::RunPreview(StartupState&, int32_t) {
  std::cerr << "vexlum: the preview is not in this build\n";
  return 1;
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
