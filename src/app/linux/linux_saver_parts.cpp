#include "app/linux/linux_saver_parts.h"

#include <stb_image_write.h>
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
      files_(folder, windows, file_services_) {}

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
    windows_.MessageBox(std::string(kStartFailedMessage) + "\n" + e.what(), kSaverMessageTitle,
                        kMbIconExclamation);
    return false;
  }
}

void LinuxSaverParts::BeforeLoop() {
  cpu_start_ms_ = ProcessCpuMs();
  wall_start_ = std::chrono::steady_clock::now();
  fps_since_ = wall_start_;
  fps_cpu_ms_ = cpu_start_ms_;
  if (state_.options.fps) frame_->SetCornerText("FPS: 0.0\nCPU: 0.0%");
}

void LinuxSaverParts::UpdateFpsText() {
  const auto now = std::chrono::steady_clock::now();
  const double seconds = std::chrono::duration<double>(now - fps_since_).count();
  if (seconds < 1.0) return;
  const double cpu_ms = ProcessCpuMs();
  char text[64];
  std::snprintf(text, sizeof text, "FPS: %.1f\nCPU: %.1f%%",
                static_cast<double>(frames_ - fps_frames_) / seconds,
                (cpu_ms - fps_cpu_ms_) / (seconds * 10.0));
  frame_->SetCornerText(text);
  fps_since_ = now;
  fps_frames_ = frames_;
  fps_cpu_ms_ = cpu_ms;
}

void LinuxSaverParts::DrawFrame() {
  // A host window (XScreenSaver's) may be resized at any time; the picture follows it.
  if (hosted_ && (context_->Width() != device_->Width() || context_->Height() != device_->Height()))
    device_->Resize(context_->Width(), context_->Height());
  if (state_.options.fps) UpdateFpsText();
  frame_->Draw();
  draw_calls_ += device_->Stats().draw_calls_last_frame;
  triangles_ += device_->Stats().triangles_last_frame;
  ++frames_;
}

void LinuxSaverParts::ReleaseDevice() {
  if (!device_) return;
  if (!state_.options.screenshot.empty())
    screenshot_failed_ = !WriteScreenshot(state_.options.screenshot);
  if (state_.options.stats) PrintStats();
  frame_.reset();
  device_.reset();
  context_.reset();
}

bool LinuxSaverParts::WriteScreenshot(const std::string& file) {
  const RgbaImage image = device_->ReadPixels();
  if (!stbi_write_png(file.c_str(), image.width, image.height, 4, image.pixels.data(),
                      image.width * 4)) {
    std::cerr << "vexlum: cannot write the screenshot " << file << std::endl;
    return false;
  }
  std::cout << "vexlum: screenshot written to " << file << std::endl;
  return true;
}

void LinuxSaverParts::PrintStats() const {
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - wall_start_).count();
  const double frames = static_cast<double>(frames_ ? frames_ : 1);
  const double cpu_ms = ProcessCpuMs() - cpu_start_ms_;
  std::printf(
      "frames drawn: %llu\nframes per second: %.1f\nCPU ms per frame: %.2f\n"
      "process CPU: %.0f%% of one core\nGL draw calls per frame: %.1f\n"
      "GL triangles per frame: %.0f\nsize: %d x %d\n"
      "ended by: %s\n",
      static_cast<unsigned long long>(frames_), seconds > 0 ? frames_ / seconds : 0.0,
      cpu_ms / frames, seconds > 0 ? cpu_ms / (seconds * 10.0) : 0.0,
      static_cast<double>(draw_calls_) / frames, static_cast<double>(triangles_) / frames,
      device_->Width(), device_->Height(), end_reason_.c_str());
  std::fflush(stdout);
}

}  // namespace vx
