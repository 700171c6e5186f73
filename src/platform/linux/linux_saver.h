// The saver on Linux: the window (full screen, windowed, XScreenSaver's or none), the OpenGL
// device, the texture files, the music and the scene, driven by the saver window's loop.
#pragma once

#include <string>

#include "platform/linux/x11_window_system.h"
#include "startup/vx_b.h"

namespace vx {

int RunLinuxSaver(StartupState& state, X11WindowSystem& windows, const std::string& program_folder);

}  // namespace vx
