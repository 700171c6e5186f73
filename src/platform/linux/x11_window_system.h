// WindowSystem on X11: windows found by caption through Xlib; the cursor count and the
// system-wide saver flags have no X11 meaning and are kept only as the caller sees them.
#pragma once

#include <vector>

#include "ports/saver_window.h"
#include "ports/window_system.h"

namespace vx {

class X11WindowSystem final : public WindowSystem {
 public:
  X11WindowSystem();
  ~X11WindowSystem() override;
  X11WindowSystem(const X11WindowSystem&) = delete;
  X11WindowSystem& operator=(const X11WindowSystem&) = delete;

  bool HasDisplay() const { return display_ != nullptr; }
  uint64_t RootWindowId() const;
  bool WindowExists(uint64_t window);
  // A message box waits for a person. A saver in a host's window must never wait: with this
  // off, messages go to stderr alone.
  void SetModalMessages(bool modal) { modal_messages_ = modal; }
  // True for the first saver on this display to ask, for as long as it runs: the one that
  // plays music when XScreenSaver starts one per monitor. True without a display.
  bool ClaimMusic();
  // The monitors, the primary first, as Xinerama (or RandR behind it) lays them out; the
  // whole screen as one when the server knows of no monitors. Mirrored monitors count once.
  std::vector<ScreenArea> Monitors();

  bool FindWindowByCaption(std::string_view caption) override;
  int32_t ShowCursor(bool show) override;
  void SystemParametersInfo(uint32_t, int32_t) override {}
  bool GetWindowRect(WindowHandle window, WindowRect& rect) override;
  void DrawAnimatedRects(WindowHandle, int32_t, const WindowRect&, const WindowRect&) override {}
  ScreenMetrics Screen() override;
  void MessageBox(std::string_view text, std::string_view title, uint32_t style) override;
  // An X selection named for this user: per display by nature, given up by the server when
  // our connection closes, however we end. Always ours without a display.
  bool ClaimSingleInstance() override;
  bool SingleInstanceClaimed() override;

 private:
  // Looks at and takes the selection with the server grabbed, so two clients cannot both
  // find it free. `owner` keeps the window that holds it.
  bool ClaimSelection(const std::string& name, uint64_t& owner);
  bool SelectionHeldElsewhere(const std::string& name, uint64_t own_owner);

  void* display_ = nullptr;  // Display*, kept opaque so this header pulls in no Xlib
  int32_t cursor_count_ = 0;
  bool modal_messages_ = true;
  uint64_t music_owner_ = 0;     // the window holding the music selection, while we hold it
  uint64_t instance_owner_ = 0;  // the same for the single-instance selection
};

}  // namespace vx
