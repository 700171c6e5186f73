// What the saver's parts ask of the system they run on: a device for each screen the saver
// shows a scene on (one per monitor, or the one window or off-screen surface), and the
// process's own clock. Everything else they share.
#pragma once

#include <cstdint>
#include <memory>

#include "ports/device.h"

namespace vx {

struct DeviceRequest {
  int screen = 0;         // which screen, 0 being the primary one
  bool vsync = true;      // present at the display's pace; false draws as fast as it can
  bool readable = false;  // the last frame will be read back (--screenshot)
};

class SaverPlatform {
 public:
  virtual ~SaverPlatform() = default;
  // How many screens get a scene of their own; screen 0 is the primary one.
  virtual int ScreenCount() { return 1; }
  // Throws (DeviceError, or another std::exception) saying why no device can be made.
  virtual std::unique_ptr<Device> MakeDevice(const DeviceRequest& request) = 0;
  // Before each frame of a screen: its window may have been resized (a host's, or one a
  // window manager moved), and the device follows it.
  virtual void BeforeFrame(Device&, int /*screen*/) {}
  // The screen's device is gone: whatever MakeDevice made beside it goes too.
  virtual void DeviceReleased(int /*screen*/) {}
  // True when the saver draws in a host's window and the host has taken it away: a failure
  // is then only the host ending the saver early.
  virtual bool HostWindowGone() { return false; }

  virtual uint32_t ProcessId() = 0;
  // The CPU time the process has used, in milliseconds.
  virtual double ProcessCpuMs() = 0;
};

}  // namespace vx
