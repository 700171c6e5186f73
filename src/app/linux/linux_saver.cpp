#include "app/linux/linux_saver.h"

#include <cstdlib>
#include <iostream>
#include <memory>
#include <optional>
#include <utility>

#include "app/linux/linux_saver_platform.h"
#include "core/console.h"
#include "core/tick_clock.h"
#include "music/background_music.h"
#include "platform/common/run_folders.h"
#include "platform/linux/posix_headless_saver_window.h"
#include "platform/linux/posix_termination_signals.h"
#include "platform/linux/sdl_multimedia.h"
#include "platform/linux/sdl_saver_window.h"
#include "platform/linux/x11_error_trap.h"
#include "saver/saver_session.h"
#include "saver/scene_saver_parts.h"

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
      std::cerr << ConsoleLine("XSCREENSAVER_WINDOW is not a window id: '" + std::string(env) + "'")
                << "\n";
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
      return RefuseSaverStart(state, windows,
                              "the saver needs a display (DISPLAY is not set or cannot be "
                              "opened); give --frames N to render off-screen instead");
    }
    headless = std::make_unique<PosixHeadlessSaverWindow>();
  } else {
    SaverWindowOptions wo;
    wo.windowed = windowed;
    wo.hide_cursor = state.mode_letter == 'S';
    const auto host = HostWindow(o, windows);
    if (!host) {
      UndoStartupChanges(state, windows);
      return 1;
    }
    wo.foreign_window = *host;
    host_id = *host;
    hosted = host_id != 0;
    if (hosted) {
      // A host runs us unattended: nobody is there to click a message box away, and a host
      // destroying its window must not end us before the images are deleted.
      windows.SetModalMessages(false);
      TrapXErrors();
      if (!windows.WindowExists(host_id))
        return FailSaverStart(state, windows,
                              "window " + std::to_string(host_id) + " does not exist");
    }
    wo.width = width;
    wo.height = height;
    if (!windowed && !hosted) {
      wo.monitors = windows.Monitors();
      wo.scene_on_every_monitor = !o.primary_monitor_only;
    }
    try {
      sdl_window = std::make_unique<SdlSaverWindow>(wo);
    } catch (const std::exception& e) {
      // The window was there a moment ago: the host took it away, which only ends us early.
      if (hosted && !windows.WindowExists(host_id)) return 0;
      return FailSaverStart(state, windows, e.what());
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
  LinuxSaverPlatform platform(sdl_window.get(), hosted, width, height);
  RunFolders file_services;
  int status =
      RunSceneSaver(state, {windows, window, platform, file_services, music, clock}, folder);
  // A host destroying its window before we could draw in it ends us as SIGTERM would.
  if (status != 0 && hosted && !windows.WindowExists(host_id)) status = 0;
  // An X error while the host's window still stands is a real failure; with the window gone
  // it was only the host ending us, as SIGTERM would.
  if (const std::string error = FirstTrappedXError();
      !error.empty() && hosted && windows.WindowExists(host_id)) {
    std::cerr << ConsoleLine(error) << "\n";
    status = 1;
  }
  return status;
}

}  // namespace vx
