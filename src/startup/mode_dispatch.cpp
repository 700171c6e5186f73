#include "startup/mode_dispatch.h"

#include <cctype>

#include "core/console.h"
#include "core/numbers.h"

namespace vx {

char ModeLetter(std::string_view text) {
  if (text.size() < 2) return 0;
  return static_cast<char>(std::toupper(static_cast<unsigned char>(text[1])));
}

int32_t PreviewHandle(std::string_view text) {
  if (text.size() < 4) return 0;
  return ToInt32(ParseLeadingNumber(text.substr(3))).value_or(0);
}

int DispatchMode(const CommandLine& cl, StartupServices& sv) {
  if (cl.options.help) {
    sv.out << UsageText() << "\nThis copy's settings file: " << sv.settings_file << "\n";
    return 0;
  }
  if (cl.options.version) {
    sv.out << "vexlum " << VEXLUM_VERSION << "\n";
    return 0;
  }
  StartupState state;
  state.argument_text = cl.argument_text;
  state.mode_letter = ModeLetter(cl.argument_text);
  state.options = cl.options;

  // One saver or dialog at a time. Savers in a host's window are the host's to count (it runs
  // one per monitor). The mark is taken before any window is made, so that of several started
  // together one runs; the captions then catch a saver or dialog that holds no mark. Only the
  // modes that run take it; a preview only looks.
  if (!sv.in_host_window) {
    const char m = state.mode_letter;
    const bool runs = m == 'S' || m == 'C' || cl.argument_text.empty();
    if (m == 'P' ? sv.windows.SingleInstanceClaimed() : runs && !sv.windows.ClaimSingleInstance())
      return 0;
    if (sv.windows.FindWindowByCaption(kSaverCaption) ||
        sv.windows.FindWindowByCaption(kDialogCaption))
      return 0;
  }

  if (state.mode_letter == 'P') return sv.modes.RunPreview(state, PreviewHandle(cl.argument_text));

  LoadSettings(state.settings, sv.profile, sv.settings_file, sv.windows.Screen());

  if (state.mode_letter == 'C') return sv.modes.RunSettingsDialog(state);
  if (state.mode_letter != 'S' && !cl.argument_text.empty()) return 0;
  if (const std::string warning = ApplyOptionsToSettings(cl.options, state.settings);
      !warning.empty())
    SayLine(sv.err, warning);
  if (state.mode_letter == 'S') {
    state.saved_cursor_count = sv.windows.ShowCursor(false);
    SetSaverRunning(sv.windows, 0);
  }
  return sv.modes.RunSaver(state);
}

void SetSaverRunning(WindowSystem& windows, int16_t flag) {
  windows.SystemParametersInfo(kSpiSetScreenSaverRunning, static_cast<int16_t>(~flag));
}

namespace {
WindowRect ZoomPoint(const StartupState& s) {
  return {s.zoom_point_x, s.zoom_point_y, s.zoom_point_x, s.zoom_point_y};
}
}  // namespace

void ZoomOpen(WindowSystem& windows, WindowHandle window, const StartupState& state) {
  WindowRect rect;
  windows.GetWindowRect(window, rect);
  windows.DrawAnimatedRects(window, 3, ZoomPoint(state), rect);
}

void ZoomClose(WindowSystem& windows, WindowHandle window, const StartupState& state) {
  WindowRect rect;
  windows.GetWindowRect(window, rect);
  windows.DrawAnimatedRects(window, 3, rect, ZoomPoint(state));
}

}  // namespace vx
