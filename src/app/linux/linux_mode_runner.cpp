#include "app/linux/linux_mode_runner.h"

#include <QApplication>
#include <cstdlib>
#include <iostream>
#include <memory>

#include "app/linux/linux_saver.h"
#include "core/console.h"
#include "platform/linux/qt_message_box.h"
#include "platform/linux/qt_settings_dialog.h"
#include "platform/linux/x11_preview.h"

namespace vx {

int LinuxModeRunner::RunPreview(StartupState&, int32_t host_window) {
  // X window ids are positive 29-bit numbers; anything else cannot name a window.
  if (host_window <= 0) {
    SayLine(std::cerr, "/p needs the id of the host's window");
    return 1;
  }
  return RunX11Preview(static_cast<uint64_t>(host_window));
}

int LinuxModeRunner::RunSettingsDialog(StartupState& state) {
  // Qt ends the process when it finds no display; say why instead.
  if (!windows_.HasDisplay() && !std::getenv("QT_QPA_PLATFORM") &&
      !std::getenv("WAYLAND_DISPLAY")) {
    SayLine(std::cerr, "the settings dialog needs a display (DISPLAY is not set or not reachable)");
    return 1;
  }
  auto app = EnsureQApplication();
  QtSettingsDialog dialog(state, profile_, settings_file_, &windows_);
  dialog.exec();
  return 0;
}

int LinuxModeRunner::RunSaver(StartupState& state) {
  return RunLinuxSaver(state, windows_, program_folder_);
}

}  // namespace vx
