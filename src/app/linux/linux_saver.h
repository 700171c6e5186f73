// The saver on Linux: the window (full screen, windowed, XScreenSaver's or none), the music
// and the saver's parts, driven by the saver session.
#pragma once

#include <string>

#include "platform/linux/x11_window_system.h"
#include "startup/mode_dispatch.h"

namespace vx {

int RunLinuxSaver(StartupState& state, X11WindowSystem& windows, const std::string& program_folder);

}  // namespace vx
