// The saver on Windows: its window (full screen with the other monitors darkened, or a
// window for --windowed), winmm music and the saver's parts, driven by the saver session.
#pragma once

#include <string>

#include "platform/windows/win32_window_system.h"
#include "startup/mode_dispatch.h"

namespace vx {

int RunWindowsSaver(StartupState& state, Win32WindowSystem& windows,
                    const std::string& program_folder);

}  // namespace vx
