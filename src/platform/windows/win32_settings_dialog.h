// The settings dialog on Win32: native scroll bars, combo box and value boxes, the picture
// buttons, radio marks, the two gradient panels and the ball animation, all laid out from the
// portable form table and driven by the portable dialog model.
#pragma once

#include <string>

#include "ports/profile_strings.h"
#include "ports/window_system.h"
#include "startup/mode_dispatch.h"

struct HWND__;

namespace vx {

// Shows the dialog until it is closed; modal to `owner` when that is a window. Save writes the
// eight settings to `settings_file`; Cancel and the close box write nothing.
int RunWin32SettingsDialog(StartupState& state, ProfileStrings& profile,
                           const std::string& settings_file, WindowSystem& windows, HWND__* owner);

}  // namespace vx
