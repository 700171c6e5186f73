#include "app/windows/windows_saver.h"

#include <iostream>
#include <memory>

#include "app/windows/windows_saver_platform.h"
#include "core/console.h"
#include "music/background_music.h"
#include "platform/common/run_folders.h"
#include "platform/windows/win32_saver_window.h"
#include "platform/windows/win32_tick_clock.h"
#include "platform/windows/winmm_multimedia.h"
#include "saver/saver_session.h"
#include "saver/scene_saver_parts.h"

namespace vx {

int RunWindowsSaver(StartupState& state, Win32WindowSystem& windows, const std::string& folder) {
  const SaverOptions& o = state.options;
  if (o.root || o.window_id) {
    return RefuseSaverStart(state, windows,
                            "-root and -window-id are XScreenSaver's; on Windows the saver runs "
                            "full screen, or in a window with --windowed");
  }
  Win32SaverWindowOptions wo;
  wo.windowed = o.windowed;
  if (!wo.windowed && o.own_window) wo.windowed = kOwnWindowSize;
  wo.hide_cursor = state.mode_letter == 'S';
  wo.scene_on_every_monitor = !o.primary_monitor_only;
  std::unique_ptr<Win32SaverWindow> window;
  try {
    window = std::make_unique<Win32SaverWindow>(wo);
  } catch (const std::exception& e) {
    return FailSaverStart(state, windows, e.what());
  }
  Win32TickClock clock;
  WinmmMultimedia multimedia;
  BackgroundMusic music(multimedia, state.settings);
  WindowsSaverPlatform platform(*window, wo.windowed.has_value());
  RunFolders file_services;
  const int status =
      RunSceneSaver(state, {windows, *window, platform, file_services, music, clock}, folder);
  // Everything the end must do is done (music stopped, system state restored, images
  // deleted, device released); the process ends next, and its windows with it.
  window->LeaveToProcessEnd();
  return status;
}

}  // namespace vx
