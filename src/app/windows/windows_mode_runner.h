#pragma once

#include <string>
#include <utility>

#include "platform/windows/win32_window_system.h"
#include "startup/mode_dispatch.h"

namespace vx {

// Runs the preview, the settings dialog and the saver on Windows.
class WindowsModeRunner final : public ModeRunner {
 public:
  WindowsModeRunner(Win32WindowSystem& windows, ProfileStrings& profile, std::string program_folder,
                    std::string settings_file)
      : windows_(windows),
        profile_(profile),
        program_folder_(std::move(program_folder)),
        settings_file_(std::move(settings_file)) {}

  int RunPreview(StartupState& state, int32_t host_window) override;
  int RunSettingsDialog(StartupState& state) override;
  int RunSaver(StartupState& state) override;

 private:
  Win32WindowSystem& windows_;
  ProfileStrings& profile_;
  std::string program_folder_;
  std::string settings_file_;
};

}  // namespace vx
