// Start-up: the single-instance test, the mode letter and the hand-over to the chosen mode.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

#include "ports/mode_runner.h"
#include "ports/profile_strings.h"
#include "ports/window_system.h"
#include "settings/settings.h"
#include "startup/command_line.h"

namespace vx {

inline constexpr std::string_view kSaverCaption = "Vexlum_Main";
inline constexpr std::string_view kDialogCaption = "Vexlum(Screen Saver)の設定";

// What start-up hands to the mode it runs; the saver's end procedure reads it back.
struct StartupState {
  std::string argument_text;
  char mode_letter = 0;  // upper-cased second character, 0 when the text is shorter
  int32_t saved_cursor_count = 0;
  int16_t zoom_point_x = 0, zoom_point_y = 0;
  Settings settings;
  SaverOptions options;
};

struct StartupServices {
  WindowSystem& windows;
  ProfileStrings& profile;
  ModeRunner& modes;
  std::string settings_file;
  std::ostream& out;
  std::ostream& err;
  // The run draws in a window a host made (XScreenSaver's): the host decides how many run.
  bool in_host_window = false;
};

char ModeLetter(std::string_view argument_text);
int32_t PreviewHandle(std::string_view argument_text);

// Runs start-up and returns the process's exit status.
int DispatchMode(const CommandLine& command_line, StartupServices& services);

void SetSaverRunning(WindowSystem& windows, int16_t flag);
void ZoomOpen(WindowSystem& windows, WindowHandle window, const StartupState& state);
void ZoomClose(WindowSystem& windows, WindowHandle window, const StartupState& state);

}  // namespace vx
