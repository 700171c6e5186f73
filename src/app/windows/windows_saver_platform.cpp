#include "app/windows/windows_saver_platform.h"

#include <windows.h>

#include <tuple>

#include "platform/windows/d3d8_device.h"

namespace vx {

std::unique_ptr<Device> WindowsSaverPlatform::MakeDevice(const DeviceRequest& request) {
  D3D8DeviceOptions options;
  std::tie(options.width, options.height) = window_.ScreenSize(request.screen);
  options.windowed = windowed_;
  options.vsync = request.vsync;
  options.readable = request.readable;
  if (request.screen > 0) {
    // The primary monitor keeps its full-screen device; the others draw windowed on the
    // adapter that shows their window. A windowed device is not lost when the focus moves,
    // and only the primary's waits for the retrace, so the frame all screens share waits once.
    options.windowed = true;
    options.adapter_of_window = true;
    options.vsync = false;
  }
  return std::make_unique<D3D8Device>(window_.ScreenWindow(request.screen), options);
}

uint32_t WindowsSaverPlatform::ProcessId() {
  return static_cast<uint32_t>(GetCurrentProcessId());
}

double WindowsSaverPlatform::ProcessCpuMs() {
  FILETIME created, ended, kernel, user;
  if (!GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user)) return 0;
  auto ms = [](const FILETIME& t) {
    return static_cast<double>((static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime) /
           10000.0;  // 100 ns units
  };
  return ms(kernel) + ms(user);
}

}  // namespace vx
