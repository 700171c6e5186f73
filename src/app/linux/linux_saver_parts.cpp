#include "app/linux/linux_saver_parts.h"

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <iostream>

#include "saver/run_seed.h"

namespace vx {
namespace {

double ProcessCpuMs() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1000.0 +
         (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1000.0;
}

uint32_t MillisecondsSinceMidnight() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&seconds, &local);
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  return static_cast<uint32_t>((local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec) * 1000 +
                               ms);
}

}  // namespace

LinuxSaverParts::LinuxSaverParts(const StartupState& state, X11WindowSystem& windows,
                                 const std::string& folder, SdlSaverWindow* window, bool hosted,
                                 int width, int height)
    : state_(state),
      windows_(windows),
      window_(window),
      hosted_(hosted),
      width_(width),
      height_(height),
      files_(folder, windows, file_services_),
      statistics_(ProcessCpuMs) {}

void LinuxSaverParts::SeedRandom() {
  random_.Seed(state_.options.seed
                   ? *state_.options.seed
                   : RunSeed(MillisecondsSinceMidnight(), static_cast<uint32_t>(getpid())));
}

bool LinuxSaverParts::SetUpDevice() {
  try {
    const bool capped = !state_.options.uncapped && state_.settings.frame_rate_cap >= 0;
    context_ = window_ ? CreateSdlGlContext(window_->window(), /*vsync=*/capped)
                       : CreateHeadlessGlContext(width_, height_);
    GlDeviceOptions options;
    options.draw_into_window = true;
    options.keep_last_frame = !state_.options.screenshot.empty();
    device_ = std::make_unique<GlDevice>(*context_, options);
    frame_ = std::make_unique<SceneFrame>(*device_, random_, SceneSettingsOf(state_.settings),
                                          files_.ImagePath(state_.settings.atlas),
                                          state_.options.title.value_or(""));
    return true;
  } catch (const std::exception& e) {
    // A host that took its window away meanwhile has only ended us early: nothing to say.
    if (hosted_ && window_ && window_->HostGone()) {
      end_reason_ = "host window gone";
      return false;
    }
    windows_.MessageBox(std::string(kStartFailedMessage) + "\n" + e.what(), kSaverMessageTitle,
                        kMbIconExclamation);
    return false;
  }
}

void LinuxSaverParts::BeforeLoop() {
  statistics_.Start();
  if (state_.options.fps) frame_->SetCornerText("FPS: 0.0\nCPU: 0.0%");
}

void LinuxSaverParts::DrawFrame() {
  // A host window (XScreenSaver's) may be resized at any time; the picture follows it.
  if (hosted_ && (context_->Width() != device_->Width() || context_->Height() != device_->Height()))
    device_->Resize(context_->Width(), context_->Height());
  if (state_.options.fps)
    if (auto text = statistics_.FpsText()) frame_->SetCornerText(std::move(*text));
  frame_->Draw();
  statistics_.CountFrame(device_->Stats().draw_calls_last_frame,
                         device_->Stats().triangles_last_frame);
}

void LinuxSaverParts::ReleaseDevice() {
  if (!device_) return;
  if (!state_.options.screenshot.empty())
    screenshot_failed_ = !WriteScreenshot(state_.options.screenshot);
  if (state_.options.stats) {
    std::cout << statistics_.Summary(device_->Width(), device_->Height(), end_reason_)
              << std::flush;
  }
  frame_.reset();
  device_.reset();
  context_.reset();
}

bool LinuxSaverParts::WriteScreenshot(const std::string& file) {
  if (!WritePngFile(device_->ReadPixels(), file)) {
    std::cerr << "vexlum: cannot write the screenshot " << file << std::endl;
    return false;
  }
  std::cout << "vexlum: screenshot written to " << file << std::endl;
  return true;
}

}  // namespace vx
