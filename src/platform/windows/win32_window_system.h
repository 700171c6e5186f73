// WindowSystem on Win32: windows found by caption, the cursor's display count, the system's
// screen-saver flags, screen metrics and message boxes, through the wide API where text is
// involved so Japanese captions and messages work on any system code page.
#pragma once

#include "ports/window_system.h"

namespace vx {

class Win32WindowSystem final : public WindowSystem {
 public:
  Win32WindowSystem() = default;
  ~Win32WindowSystem() override;
  Win32WindowSystem(const Win32WindowSystem&) = delete;
  Win32WindowSystem& operator=(const Win32WindowSystem&) = delete;

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
  // A named mutex in the session's own namespace: one per user and desktop session, gone with
  // the last handle, so with the process however it ends.
  bool ClaimSingleInstance() override;
  bool SingleInstanceClaimed() override;

 private:
  bool modal_messages_ = true;
  void* instance_mutex_ = nullptr;  // HANDLE, while we hold the mark
};

}  // namespace vx
