#include "app/windows/windows_mode_runner.h"

#include "app/windows/windows_saver.h"

namespace vx {

// The preview picture in the host's small monitor is not drawn yet on Windows; the host then
// shows its own empty preview.
int WindowsModeRunner::RunPreview(StartupState&, int32_t) {
  return 0;
}

int WindowsModeRunner::RunSettingsDialog(StartupState&) {
  windows_.MessageBox(
      "The settings dialog is not available on Windows yet. The settings are "
      "kept in:\n" +
          settings_file_,
      "Vexlum(Screen Saver)", 64 /* information */);
  return 0;
}

int WindowsModeRunner::RunSaver(StartupState& state) {
  return RunWindowsSaver(state, windows_, program_folder_);
}

}  // namespace vx
