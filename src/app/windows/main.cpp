// The Windows screen saver's entry: the host's command line, taken in UTF-16 and handed on as
// UTF-8, then the same start-up as on every platform.
#include <windows.h>
// windows.h first: shellapi.h relies on its types.
#include <shellapi.h>

#include <iostream>
#include <string>
#include <vector>

#include "app/windows/windows_mode_runner.h"
#include "platform/windows/win32_profile_strings.h"
#include "platform/windows/win32_program_paths.h"
#include "platform/windows/win32_wide_text.h"
#include "platform/windows/win32_window_system.h"
#include "startup/mode_dispatch.h"

namespace {

std::vector<std::string> Arguments() {
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> args;
  for (int i = 1; argv && i < count; ++i) args.push_back(vx::Narrow(argv[i]));
  LocalFree(argv);
  // The host sends "/p 1234" as two arguments and "/c:1234" as one; start-up reads the
  // host's request as one text, as the host wrote it.
  return args;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  vx::CommandLine command_line = vx::ParseCommandLine(Arguments());
  if (!command_line.error.empty()) {
    vx::PrintCommandLineError(command_line, std::cerr);
    return 2;
  }
  vx::Win32WindowSystem windows;
  vx::Win32ProfileStrings profile;
  const std::string folder = vx::ProgramFolder();
  const std::string settings_file = vx::SettingsFilePath(folder);
  vx::WindowsModeRunner modes(windows, profile, folder, settings_file);
  vx::StartupServices services{windows, profile, modes, settings_file, std::cout, std::cerr};
  return vx::DispatchMode(command_line, services);
}
