#include "app/linux/linux_saver_platform.h"

#include <sys/resource.h>
#include <unistd.h>

namespace vx {

std::unique_ptr<Device> LinuxSaverPlatform::MakeDevice(const DeviceRequest& request) {
  const auto screen = static_cast<size_t>(request.screen);
  if (contexts_.size() <= screen) contexts_.resize(screen + 1);
  // Only the primary screen waits for the display's retrace: each further wait would take
  // another retrace from the one frame all screens share.
  contexts_[screen] = window_ ? CreateSdlGlContext(window_->ScreenWindow(request.screen),
                                                   request.vsync && request.screen == 0)
                              : CreateHeadlessGlContext(width_, height_);
  GlDeviceOptions options;
  options.draw_into_window = true;
  options.keep_last_frame = request.readable;
  return std::make_unique<GlDevice>(*contexts_[screen], options);
}

void LinuxSaverPlatform::BeforeFrame(Device& device, int screen) {
  GlContext& context = *contexts_.at(static_cast<size_t>(screen));
  // Every screen's context in turn, and SDL may use GL of its own to fill a black cover.
  context.MakeCurrent();
  // A host's window (XScreenSaver's) may be resized at any time, and a window manager may
  // move ours to a monitor of another size when its own goes away: the picture follows.
  const int width = context.Width(), height = context.Height();
  if (window_ && width > 0 && height > 0 && (width != device.Width() || height != device.Height()))
    static_cast<GlDevice&>(device).Resize(width, height);
}

void LinuxSaverPlatform::DeviceReleased(int screen) {
  if (static_cast<size_t>(screen) < contexts_.size())
    contexts_[static_cast<size_t>(screen)].reset();
}

uint32_t LinuxSaverPlatform::ProcessId() {
  return static_cast<uint32_t>(getpid());
}

double LinuxSaverPlatform::ProcessCpuMs() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1000.0 +
         (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1000.0;
}

}  // namespace vx
