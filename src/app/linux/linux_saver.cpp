#include "app/linux/linux_saver.h"

#include <cstdlib>
#include <iostream>
#include <memory>
#include <optional>
#include <utility>

#include "app/linux/linux_saver_parts.h"
#include "core/tick_clock.h"
#include "music/background_music.h"
#include "platform/linux/headless_saver_window.h"
#include "platform/linux/sdl_multimedia.h"
#include "platform/linux/sdl_saver_window.h"
#include "platform/linux/termination_signals.h"
#include "platform/linux/x11_error_trap.h"
#include "saver/saver_session.h"

namespace vx {
namespace {

// The window XScreenSaver asks us to draw in: -window-id, or with -root $XSCREENSAVER_WINDOW
// or else the root window; 0 for a window of our own. nullopt, having said why, when the
// variable names no window.
std::optional<uint64_t> HostWindow(const SaverOptions& o, X11WindowSystem& windows) {
  const char* env = std::getenv("XSCREENSAVER_WINDOW");
  if (!RunsInHostWindow(o, env)) return uint64_t{0};
  if (o.window_id) return *o.window_id;
  // XScreenSaver starts its hacks with -root and names its own full-screen window in
  // $XSCREENSAVER_WINDOW: that window, not the real root behind it, is where it shows them.
  if (env && *env) {
    const auto id = ParseWindowId(env);
    if (!id || *id == 0) {
      std::cerr << "vexlum: XSCREENSAVER_WINDOW is not a window id: '" << env << "'\n";
      return std::nullopt;
    }
    return *id;
  }
  return windows.RootWindowId();
}

}  // namespace

int RunLinuxSaver(StartupState& state, X11WindowSystem& windows, const std::string& folder) {
  const SaverOptions& o = state.options;
  InstallTerminationHandlers();

  std::unique_ptr<SdlSaverWindow> sdl_window;
  bool hosted = false;
  uint64_t host_id = 0;
  std::unique_ptr<SaverWindow> headless;
  int width = state.settings.screen_width_px, height = state.settings.screen_height_px;
  std::optional<std::pair<int, int>> windowed = o.windowed;
  if (!windowed && o.own_window) windowed = kOwnWindowSize;
  if (windowed) {
    width = windowed->first;
    height = windowed->second;
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
    wo.windowed = windowed;
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
    host_id = *host;
    hosted = host_id != 0;
    const auto fail_start = [&](const std::string& why) {
      windows.MessageBox(std::string(kStartFailedMessage) + "\n" + why, kSaverMessageTitle,
                         kMbIconExclamation);
      if (state.mode_letter == 'S') {
        SetSaverRunning(windows, -1);
        windows.ShowCursor(true);
      }
      return 1;
    };
    if (hosted) {
      // A host runs us unattended: nobody is there to click a message box away, and a host
      // destroying its window must not end us before the images are deleted.
      windows.SetModalMessages(false);
      TrapXErrors();
      if (!windows.WindowExists(host_id))
        return fail_start("window " + std::to_string(host_id) + " does not exist");
    }
    wo.width = width;
    wo.height = height;
    try {
      sdl_window = std::make_unique<SdlSaverWindow>(wo);
    } catch (const std::exception& e) {
      // The window was there a moment ago: the host took it away, which only ends us early.
      if (hosted && !windows.WindowExists(host_id)) return 0;
      return fail_start(e.what());
    }
  }
  SaverWindow& window = sdl_window ? static_cast<SaverWindow&>(*sdl_window) : *headless;

  SteadyTickClock clock;
  // XScreenSaver runs one saver per monitor: the first plays the music, the others none.
  Settings music_settings = state.settings;
  if (music_settings.music_source != MusicSource::kNone && !windows.ClaimMusic())
    music_settings.music_source = MusicSource::kNone;
  SdlMultimedia multimedia;
  BackgroundMusic music(multimedia, music_settings);
  LinuxSaverParts parts(state, windows, folder, sdl_window.get(), hosted, width, height);
  SaverSession session(state, windows, window, parts, music, clock,
                       SaverRunLimits{o.frames, o.uncapped});
  int status = session.Run();
  // A screenshot asked for and not written is a failed run.
  if (status == 0 && parts.ScreenshotFailed()) status = 1;
  // A host destroying its window before we could draw in it ends us as SIGTERM would.
  if (status != 0 && hosted && !windows.WindowExists(host_id)) status = 0;
  // An X error while the host's window still stands is a real failure; with the window gone
  // it was only the host ending us, as SIGTERM would.
  if (const std::string error = FirstTrappedXError();
      !error.empty() && hosted && windows.WindowExists(host_id)) {
    std::cerr << "vexlum: " << error << "\n";
    status = 1;
  }
  return status;
}

}  // namespace vx
