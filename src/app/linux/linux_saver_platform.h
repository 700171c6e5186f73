// What the saver's parts ask of Linux: an OpenGL context and device on each of the saver's SDL
// windows that shows a scene (following the window's size) or off-screen, and the process's
// clock.
#pragma once

#include <memory>
#include <vector>

#include "platform/linux/gl_context.h"
#include "platform/linux/gl_device.h"
#include "platform/linux/sdl_saver_window.h"
#include "ports/saver_platform.h"

namespace vx {

class LinuxSaverPlatform final : public SaverPlatform {
 public:
  // `window` is null for off-screen rendering at width x height. `hosted`: the window is a
  // host's (XScreenSaver's), whose size may change under us.
  LinuxSaverPlatform(SdlSaverWindow* window, bool hosted, int width, int height)
      : window_(window), hosted_(hosted), width_(width), height_(height) {}

  int ScreenCount() override { return window_ ? window_->ScreenCount() : 1; }
  std::unique_ptr<Device> MakeDevice(const DeviceRequest& request) override;
  void BeforeFrame(Device& device, int screen) override;
  void DeviceReleased(int screen) override;
  bool HostWindowGone() override { return hosted_ && window_ && window_->HostGone(); }
  uint32_t ProcessId() override;
  double ProcessCpuMs() override;

 private:
  SdlSaverWindow* window_;
  bool hosted_;
  int width_, height_;
  std::vector<std::unique_ptr<GlContext>> contexts_;  // by screen
};

}  // namespace vx
