#include "app/windows/windows_saver.h"

#include <iostream>
#include <memory>

#include "app/windows/windows_saver_parts.h"
#include "music/background_music.h"
#include "platform/windows/win32_saver_window.h"
#include "platform/windows/win32_tick_clock.h"
#include "platform/windows/winmm_multimedia.h"
#include "saver/saver_session.h"

namespace vx {

int RunWindowsSaver(StartupState& state, Win32WindowSystem& windows, const std::string& folder) {
  const SaverOptions& o = state.options;
  auto fail_start = [&] {
    if (state.mode_letter == 'S') {
      SetSaverRunning(windows, -1);
      windows.ShowCursor(true);
    }
    return 1;
  };
  if (o.root || o.window_id) {
    std::cerr << "vexlum: -root and -window-id are XScreenSaver's; on Windows the saver runs "
                 "full screen, or in a window with --windowed\n";
    return fail_start();
  }
  Win32SaverWindowOptions wo;
  wo.windowed = o.windowed;
  if (!wo.windowed && o.own_window) wo.windowed = kOwnWindowSize;
  wo.hide_cursor = state.mode_letter == 'S';
  std::unique_ptr<Win32SaverWindow> window;
  try {
    window = std::make_unique<Win32SaverWindow>(wo);
  } catch (const std::exception& e) {
    windows.MessageBox(std::string(kStartFailedMessage) + "\n" + e.what(), kSaverMessageTitle,
                       kMbIconExclamation);
    return fail_start();
  }
  Win32TickClock clock;
  WinmmMultimedia multimedia;
  BackgroundMusic music(multimedia, state.settings);
  WindowsSaverParts parts(state, windows, folder, *window, wo.windowed.has_value());
  SaverSession session(state, windows, *window, parts, music, clock,
                       SaverRunLimits{o.frames, o.uncapped});
  int status = session.Run();
  // A screenshot asked for and not written is a failed run.
  if (status == 0 && parts.ScreenshotFailed()) status = 1;
  // Everything the end must do is done (music stopped, system state restored, images
  // deleted, device released); the process ends next, and its windows with it.
  window->LeaveToProcessEnd();
  return status;
}

}  // namespace vx
