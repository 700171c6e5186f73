#include "app/windows/windows_mode_runner.h"

#include "app/windows/windows_saver.h"
#include "platform/windows/win32_preview.h"

namespace vx {

int WindowsModeRunner::RunPreview(StartupState&, int32_t host_window) {
  // Window handles are 32-bit values even in 64-bit Windows; the host writes them unsigned.
  const auto handle = static_cast<uintptr_t>(static_cast<uint32_t>(host_window));
  return RunWin32Preview(reinterpret_cast<HWND__*>(handle));
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
