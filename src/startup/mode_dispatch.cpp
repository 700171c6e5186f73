#include "startup/mode_dispatch.h"

#include <cctype>

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
    sv.out << UsageText();
    return 0;
  }
  if (cl.options.version) {
    sv.out << "vexlum " << VEXLUM_VERSION << "\n";
    return 0;
  }
  if (sv.windows.FindWindowByCaption(kSaverCaption) ||
      sv.windows.FindWindowByCaption(kDialogCaption))
    return 0;

  StartupState state;
  state.argument_text = cl.argument_text;
  state.mode_letter = ModeLetter(cl.argument_text);
  state.options = cl.options;

  if (state.mode_letter == 'P') return sv.modes.RunPreview(state, PreviewHandle(cl.argument_text));

  LoadSettings(state.settings, sv.profile, sv.settings_file, sv.windows.Screen());

  if (state.mode_letter == 'C') return sv.modes.RunSettingsDialog(state);
  if (state.mode_letter != 'S' && !cl.argument_text.empty()) return 0;
  if (const std::string warning = ApplyOptionsToSettings(cl.options, state.settings);
      !warning.empty())
    sv.err << "vexlum: " << warning << "\n";
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
