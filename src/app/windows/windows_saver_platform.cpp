#include "app/windows/windows_saver_platform.h"

#include <windows.h>

#include "platform/windows/d3d8_device.h"

namespace vx {

std::unique_ptr<Device> WindowsSaverPlatform::MakeDevice(const DeviceRequest& request) {
  D3D8DeviceOptions options;
  options.width = window_.Width();
  options.height = window_.Height();
  options.windowed = windowed_;
  options.vsync = request.vsync;
  options.readable = request.readable;
  return std::make_unique<D3D8Device>(window_.window(), options);
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
