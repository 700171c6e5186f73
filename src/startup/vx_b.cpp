#include "startup/vx_b.h"

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

int Main(const CommandLine& cl, StartupServices& sv) {
  if (cl.ArgumentText == "--help") {
    sv.out << UsageText();
    return 0;
  }
  if (cl.ArgumentText == "--version") {
    sv.out << "vexlum " << VEXLUM_VERSION << "\n";
    return 0;
  }
  if (sv.windows.FindWindowByCaption(kSaverCaption) ||
      sv.windows.FindWindowByCaption(kDialogCaption))
    return 0;

  StartupState state;
  state.ArgumentText = cl.ArgumentText;
  state.ModeLetter = ModeLetter(cl.ArgumentText);
  state.options = cl.Options;

  if (state.ModeLetter == 'P') return sv.modes.RunPreview(state, PreviewHandle(cl.ArgumentText));

  LoadSettings(state.settings, sv.profile, sv.settings_file, sv.windows.Screen());

  if (state.ModeLetter == 'C') return sv.modes.RunSettingsDialog(state);
  if (state.ModeLetter != 'S' && !cl.ArgumentText.empty()) return 0;
  if (state.ModeLetter == 'S') {
    state.SavedCursorCount = sv.windows.ShowCursor(false);
    SetSaverRunning(sv.windows, 0);
  }
  return sv.modes.RunSaver(state);
}

void SetSaverRunning(WindowSystem& windows, int16_t flag) {
  windows.SystemParametersInfo(kSpiSetScreenSaverRunning, static_cast<int16_t>(~flag));
}

namespace {
WindowRect ZoomPoint(const StartupState& s) {
  return {s.ZoomPointX, s.ZoomPointY, s.ZoomPointX, s.ZoomPointY};
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
