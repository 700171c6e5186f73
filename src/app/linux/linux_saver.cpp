#include "app/linux/linux_saver.h"

#include <cstdlib>
#include <iostream>
#include <memory>
#include <optional>

#include "app/linux/linux_saver_parts.h"
#include "core/tick_clock.h"
#include "music/background_music.h"
#include "platform/linux/headless_saver_window.h"
#include "platform/linux/sdl_multimedia.h"
#include "platform/linux/sdl_saver_window.h"
#include "platform/linux/termination_signals.h"
#include "saver/saver_session.h"

namespace vx {
namespace {

// The window XScreenSaver asks us to draw in: -window-id, $XSCREENSAVER_WINDOW, or -root;
// 0 for a window of our own. nullopt, having said why, when the variable names no window.
std::optional<uint64_t> HostWindow(const SaverOptions& o, X11WindowSystem& windows) {
  // XScreenSaver starts its hacks with -root and names its own full-screen window in
  // $XSCREENSAVER_WINDOW: that window, not the real root behind it, is where it shows them.
  if (o.window_id) return *o.window_id;
  if (const char* env = std::getenv("XSCREENSAVER_WINDOW"); env && *env) {
    const auto id = ParseWindowId(env);
    if (!id || *id == 0) {
      std::cerr << "vexlum: XSCREENSAVER_WINDOW is not a window id: '" << env << "'\n";
      return std::nullopt;
    }
    return *id;
  }
  if (o.root) return windows.RootWindowId();
  return uint64_t{0};
}

}  // namespace

int RunLinuxSaver(StartupState& state, X11WindowSystem& windows, const std::string& folder) {
  const SaverOptions& o = state.options;
  InstallTerminationHandlers();

  std::unique_ptr<SdlSaverWindow> sdl_window;
  bool hosted = false;
  std::unique_ptr<SaverWindow> headless;
  int width = state.settings.screen_width_px, height = state.settings.screen_height_px;
  if (o.windowed) {
    width = o.windowed->first;
    height = o.windowed->second;
  }
  if (!windows.HasDisplay()) {
    if (!o.frames) {
      std::cerr << "vexlum: the saver needs a display (DISPLAY is not set or cannot be "
                   "opened); give --frames N to render off-screen instead\n";
      return 1;
    }
    headless = std::make_unique<HeadlessSaverWindow>();
  } else {
    SaverWindowOptions wo;
    wo.windowed = o.windowed;
    wo.hide_cursor = state.mode_letter == 'S';
    const auto host = HostWindow(o, windows);
    if (!host) {
      if (state.mode_letter == 'S') {
        SetSaverRunning(windows, -1);
        windows.ShowCursor(true);
      }
      return 1;
    }
    wo.foreign_window = *host;
    hosted = wo.foreign_window != 0;
    wo.width = width;
    wo.height = height;
    try {
      sdl_window = std::make_unique<SdlSaverWindow>(wo);
    } catch (const std::exception& e) {
      windows.MessageBox(std::string(kStartFailedMessage) + "\n" + e.what(), kSaverMessageTitle,
                         kMbIconExclamation);
      if (state.mode_letter == 'S') {
        SetSaverRunning(windows, -1);
        windows.ShowCursor(true);
      }
      return 1;
    }
  }
  SaverWindow& window = sdl_window ? static_cast<SaverWindow&>(*sdl_window) : *headless;

  SteadyTickClock clock;
  SdlMultimedia multimedia;
  BackgroundMusic music(multimedia, state.settings);
  LinuxSaverParts parts(state, windows, folder, sdl_window.get(), hosted, width, height);
  SaverSession session(state, windows, window, parts, music, clock,
                       SaverRunLimits{o.frames, o.uncapped});
  const int status = session.Run();
  // A screenshot asked for and not written is a failed run.
  return status == 0 && parts.ScreenshotFailed() ? 1 : status;
}

}  // namespace vx
