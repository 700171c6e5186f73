#include "app/linux/linux_saver_platform.h"

#include <sys/resource.h>
#include <unistd.h>

namespace vx {

std::unique_ptr<Device> LinuxSaverPlatform::MakeDevice(const DeviceRequest& request) {
  context_ = window_ ? CreateSdlGlContext(window_->window(), request.vsync)
                     : CreateHeadlessGlContext(width_, height_);
  GlDeviceOptions options;
  options.draw_into_window = true;
  options.keep_last_frame = request.readable;
  return std::make_unique<GlDevice>(*context_, options);
}

void LinuxSaverPlatform::BeforeFrame(Device& device) {
  // A host window (XScreenSaver's) may be resized at any time; the picture follows it.
  if (hosted_ && (context_->Width() != device.Width() || context_->Height() != device.Height()))
    static_cast<GlDevice&>(device).Resize(context_->Width(), context_->Height());
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
