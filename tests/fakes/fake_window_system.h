// Records what start-up and the saver ask of the window system.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "ports/window_system.h"

namespace vx::test {

class FakeWindowSystem : public WindowSystem {
 public:
  std::set<std::string> captions;
  std::vector<std::string> calls;
  int32_t cursor_count = 0;
  ScreenMetrics screen{1024 * 15.0, 768 * 15.0, 15.0f, 15.0f};

  bool FindWindowByCaption(std::string_view caption) override {
    calls.push_back("FindWindow " + std::string(caption));
    return captions.count(std::string(caption)) > 0;
  }
  int32_t ShowCursor(bool show) override {
    cursor_count += show ? 1 : -1;
    calls.push_back(std::string("ShowCursor ") + (show ? "1" : "0"));
    return cursor_count;
  }
  void SystemParametersInfo(uint32_t action, int32_t ui) override {
    calls.push_back("SPI " + std::to_string(action) + " " + std::to_string(ui));
  }
  // Only window 1234 exists.
  bool GetWindowRect(WindowHandle w, WindowRect& r) override {
    calls.push_back("GetWindowRect " + std::to_string(w));
    if (w != 1234) return false;
    r = {10, 20, 162, 132};
    return true;
  }
  void DrawAnimatedRects(WindowHandle, int32_t ani, const WindowRect& f,
                         const WindowRect& t) override {
    const auto text = [](const WindowRect& r) {
      return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
             "," + std::to_string(r.bottom);
    };
    calls.push_back("DrawAnimatedRects " + std::to_string(ani) + " " + text(f) + " -> " + text(t));
  }
  ScreenMetrics Screen() override { return screen; }
  void MessageBox(std::string_view text, std::string_view title, uint32_t style) override {
    calls.push_back("MessageBox " + std::string(title) + " | " + std::string(text) + " | " +
                    std::to_string(style));
  }
  // `instance_held_elsewhere` stands for another process holding the mark.
  bool instance_held_elsewhere = false;
  bool ClaimSingleInstance() override {
    calls.push_back("ClaimSingleInstance");
    return !instance_held_elsewhere;
  }
  bool SingleInstanceClaimed() override {
    calls.push_back("SingleInstanceClaimed");
    return instance_held_elsewhere;
  }
};

}  // namespace vx::test
