#include "app/windows/windows_mode_runner.h"

#include "app/windows/windows_saver.h"
#include "core/numbers.h"
#include "platform/windows/win32_preview.h"
#include "platform/windows/win32_settings_dialog.h"

namespace vx {

int WindowsModeRunner::RunPreview(StartupState&, int32_t host_window) {
  // Window handles are 32-bit values even in 64-bit Windows; the host writes them unsigned.
  const auto handle = static_cast<uintptr_t>(static_cast<uint32_t>(host_window));
  return RunWin32Preview(reinterpret_cast<HWND__*>(handle));
}

int WindowsModeRunner::RunSettingsDialog(StartupState& state) {
  // "/c:1234" or "/c 1234": the host's window, which the dialog is modal to.
  uint32_t owner = 0;
  if (state.argument_text.size() > 3 &&
      (state.argument_text[2] == ':' || state.argument_text[2] == ' '))
    owner = static_cast<uint32_t>(
        ToInt32(ParseLeadingNumber(std::string_view(state.argument_text).substr(3))).value_or(0));
  return RunWin32SettingsDialog(state, profile_, settings_file_, windows_,
                                reinterpret_cast<HWND__*>(static_cast<uintptr_t>(owner)));
}

int WindowsModeRunner::RunSaver(StartupState& state) {
  return RunWindowsSaver(state, windows_, program_folder_);
}

}  // namespace vx
