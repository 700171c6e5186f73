#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "app/linux/linux_mode_runner.h"
#include "platform/linux/linux_program_paths.h"
#include "platform/linux/x11_window_system.h"
#include "settings/ini_profile_strings.h"
#include "startup/mode_dispatch.h"

namespace {

int Run(int argc, char** argv) {
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

}  // namespace

int main(int argc, char** argv) {
  const int status = Run(argc, argv);
  // Everything of ours is done and destroyed by now (music stopped, images deleted, windows
  // and GL contexts gone). What is left are the GL driver's and LLVM's own exit-time
  // destructors, which can race with the driver's worker threads: a saver was once seen
  // spinning in LLVM at full CPU long after its host had gone. The process ends here instead.
  std::cout.flush();
  std::cerr.flush();
  std::fflush(nullptr);
  _exit(status);
}
