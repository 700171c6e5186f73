// WindowSystem on Win32: windows found by caption, the cursor's display count, the system's
// screen-saver flags, screen metrics and message boxes, through the wide API where text is
// involved so Japanese captions and messages work on any system code page.
#pragma once

#include "ports/window_system.h"

namespace vx {

class Win32WindowSystem final : public WindowSystem {
 public:
  // A message box waits for a person. A saver drawn inside a host's window must never wait:
  // with this off, messages go to stderr alone.
  void SetModalMessages(bool modal) { modal_messages_ = modal; }

  bool FindWindowByCaption(std::string_view caption) override;
  int32_t ShowCursor(bool show) override;
  void SystemParametersInfo(uint32_t action, int32_t ui_param) override;
  bool GetWindowRect(WindowHandle window, WindowRect& rect) override;
  void DrawAnimatedRects(WindowHandle window, int32_t animation, const WindowRect& from,
                         const WindowRect& to) override;
  ScreenMetrics Screen() override;
  void MessageBox(std::string_view text, std::string_view title, uint32_t style) override;

 private:
  bool modal_messages_ = true;
};

}  // namespace vx
