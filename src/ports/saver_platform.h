// What the saver's parts ask of the system they run on: the device, made on the saver's
// window or off-screen, and the process's own clock. Everything else they share.
#pragma once

#include <cstdint>
#include <memory>

#include "ports/device.h"

namespace vx {

struct DeviceRequest {
  bool vsync = true;      // present at the display's pace; false draws as fast as it can
  bool readable = false;  // the last frame will be read back (--screenshot)
};

class SaverPlatform {
 public:
  virtual ~SaverPlatform() = default;
  // Throws (DeviceError, or another std::exception) saying why no device can be made.
  virtual std::unique_ptr<Device> MakeDevice(const DeviceRequest& request) = 0;
  // Before each frame: a host may have resized its window, and the device follows it.
  virtual void BeforeFrame(Device&) {}
  // The device is gone: whatever MakeDevice made beside it goes too.
  virtual void DeviceReleased() {}
  // True when the saver draws in a host's window and the host has taken it away: a failure
  // is then only the host ending the saver early.
  virtual bool HostWindowGone() { return false; }

  virtual uint32_t ProcessId() = 0;
  // The CPU time the process has used, in milliseconds.
  virtual double ProcessCpuMs() = 0;
};

}  // namespace vx
