// What the saver's parts ask of Windows: a Direct3D 8 device on each of the saver's windows
// that shows a scene, and the process's clock.
#pragma once

#include "platform/windows/win32_saver_window.h"
#include "ports/saver_platform.h"

namespace vx {

class WindowsSaverPlatform final : public SaverPlatform {
 public:
  WindowsSaverPlatform(Win32SaverWindow& window, bool windowed)
      : window_(window), windowed_(windowed) {}

  int ScreenCount() override { return window_.ScreenCount(); }
  std::unique_ptr<Device> MakeDevice(const DeviceRequest& request) override;
  uint32_t ProcessId() override;
  double ProcessCpuMs() override;

 private:
  Win32SaverWindow& window_;
  bool windowed_;
};

}  // namespace vx
