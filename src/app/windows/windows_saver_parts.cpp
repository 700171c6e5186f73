#include "app/windows/windows_saver_parts.h"

#include <windows.h>
// The port's member functions share these names with the API's text macros.
#undef MessageBox

#include <iostream>

#include "platform/common/texture_image.h"
#include "saver/run_seed.h"

namespace vx {
namespace {

double ProcessCpuMs() {
  FILETIME created, ended, kernel, user;
  if (!GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user)) return 0;
  auto ms = [](const FILETIME& t) {
    return static_cast<double>((static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime) /
           10000.0;  // 100 ns units
  };
  return ms(kernel) + ms(user);
}

uint32_t MillisecondsSinceMidnight() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return static_cast<uint32_t>(((now.wHour * 60 + now.wMinute) * 60 + now.wSecond) * 1000 +
                               now.wMilliseconds);
}

}  // namespace

WindowsSaverParts::WindowsSaverParts(const StartupState& state, Win32WindowSystem& windows,
                                     const std::string& folder, Win32SaverWindow& window,
                                     bool windowed)
    : state_(state),
      windows_(windows),
      window_(window),
      windowed_(windowed),
      files_(folder, windows, file_services_),
      statistics_(ProcessCpuMs) {}

void WindowsSaverParts::SeedRandom() {
  random_.Seed(state_.options.seed ? *state_.options.seed
                                   : RunSeed(MillisecondsSinceMidnight(),
                                             static_cast<uint32_t>(GetCurrentProcessId())));
}

bool WindowsSaverParts::SetUpDevice() {
  try {
    D3D8DeviceOptions options;
    options.width = window_.Width();
    options.height = window_.Height();
    options.windowed = windowed_;
    options.vsync = !state_.options.uncapped && state_.settings.frame_rate_cap >= 0;
    options.readable = !state_.options.screenshot.empty();
    device_ = std::make_unique<D3D8Device>(window_.window(), options);
    frame_ = std::make_unique<SceneFrame>(*device_, random_, SceneSettingsOf(state_.settings),
                                          files_.ImagePath(state_.settings.atlas),
                                          state_.options.title.value_or(""));
    return true;
  } catch (const std::exception& e) {
    frame_.reset();
    device_.reset();
    windows_.MessageBox(std::string(kStartFailedMessage) + "\n" + e.what(), kSaverMessageTitle,
                        kMbIconExclamation);
    return false;
  }
}

void WindowsSaverParts::BeforeLoop() {
  statistics_.Start();
  if (state_.options.fps) frame_->SetCornerText("FPS: 0.0\nCPU: 0.0%");
}

void WindowsSaverParts::DrawFrame() {
  if (state_.options.fps)
    if (auto text = statistics_.FpsText()) frame_->SetCornerText(std::move(*text));
  frame_->Draw();
  statistics_.CountFrame(device_->DrawCallsLastFrame(), device_->TrianglesLastFrame());
}

void WindowsSaverParts::ReleaseDevice() {
  if (!device_) return;
  if (!state_.options.screenshot.empty())
    screenshot_failed_ = !WriteScreenshot(state_.options.screenshot);
  if (state_.options.stats)
    std::cout << statistics_.Summary(device_->Width(), device_->Height(), end_reason_)
              << std::flush;
  frame_.reset();
  device_.reset();
}

bool WindowsSaverParts::WriteScreenshot(const std::string& file) {
  try {
    if (WritePngFile(device_->ReadBackBuffer(), file)) {
      std::cout << "vexlum: screenshot written to " << file << std::endl;
      return true;
    }
    std::cerr << "vexlum: cannot write the screenshot " << file << std::endl;
  } catch (const DeviceError& e) {
    std::cerr << "vexlum: cannot read the screen for the screenshot: " << e.what() << std::endl;
  }
  return false;
}

}  // namespace vx
