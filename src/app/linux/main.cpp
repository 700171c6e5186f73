#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "app/linux/linux_mode_runner.h"
#include "platform/linux/linux_program_paths.h"
#include "platform/linux/x11_window_system.h"
#include "settings/ini_profile_strings.h"
#include "startup/mode_dispatch.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  vx::CommandLine command_line = vx::ParseCommandLine(args);
  if (!command_line.error.empty()) {
    vx::PrintCommandLineError(command_line, std::cerr);
    return 2;
  }
  vx::X11WindowSystem windows;
  vx::IniProfileStrings profile;
  const std::string folder = vx::ProgramFolder();
  const std::string settings_file = vx::SettingsFilePath(folder);
  vx::LinuxModeRunner modes(windows, profile, folder, settings_file);
  vx::StartupServices services{windows, profile, modes, settings_file, std::cout, std::cerr};
  services.in_host_window =
      vx::RunsInHostWindow(command_line.options, std::getenv("XSCREENSAVER_WINDOW"));
  return vx::DispatchMode(command_line, services);
}
