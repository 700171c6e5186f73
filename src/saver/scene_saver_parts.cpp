#include "saver/scene_saver_parts.h"

#include <chrono>
#include <ctime>
#include <iostream>

#include "core/console.h"
#include "saver/run_seed.h"
#include "saver/saver_session.h"

namespace vx {

uint32_t MillisecondsSinceMidnight() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const std::tm local = *std::localtime(&seconds);  // one thread: its static buffer is ours
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  return static_cast<uint32_t>((local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec) * 1000 +
                               ms);
}

SceneSaverParts::SceneSaverParts(const StartupState& state, WindowSystem& windows,
                                 SaverPlatform& platform, TextureFileServices& file_services,
                                 const std::string& program_folder)
    : state_(state),
      windows_(windows),
      platform_(platform),
      file_services_(file_services),
      files_(program_folder, windows, file_services),
      statistics_([&platform] { return platform.ProcessCpuMs(); }) {}

void SceneSaverParts::SeedRandom() {
  random_.Seed(state_.options.seed ? *state_.options.seed
                                   : RunSeed(MillisecondsSinceMidnight(), platform_.ProcessId()));
}

bool SceneSaverParts::SetUpDevice() {
  try {
    DeviceRequest request;
    request.vsync = !state_.options.uncapped && state_.settings.frame_rate_cap >= 0;
    request.readable = !state_.options.screenshot.empty();
    device_ = platform_.MakeDevice(request);
    frame_ = std::make_unique<SceneFrame>(*device_, random_, SceneSettingsOf(state_.settings),
                                          files_.ImagePath(state_.settings.atlas),
                                          state_.options.title.value_or(""));
    return true;
  } catch (const std::exception& e) {
    frame_.reset();
    device_.reset();
    platform_.DeviceReleased();
    // A host that took its window away meanwhile has only ended us early: nothing to say.
    if (platform_.HostWindowGone()) {
      end_reason_ = "host window gone";
      return false;
    }
    windows_.MessageBox(std::string(kStartFailedMessage) + "\n" + e.what(), kSaverMessageTitle,
                        kMbIconExclamation);
    return false;
  }
}

void SceneSaverParts::BeforeLoop() {
  statistics_.Start();
  if (state_.options.fps) frame_->SetCornerText("FPS: 0.0\nCPU: 0.0%");
}

void SceneSaverParts::DrawFrame() {
  platform_.BeforeFrame(*device_);
  if (state_.options.fps)
    if (auto text = statistics_.FpsText()) frame_->SetCornerText(std::move(*text));
  frame_->Draw();
  const FrameCounts counts = device_->LastFrameCounts();
  statistics_.CountFrame(counts.draw_calls, counts.triangles);
}

void SceneSaverParts::ReleaseDevice() {
  if (!device_) return;
  if (!state_.options.screenshot.empty())
    screenshot_failed_ = !WriteScreenshot(state_.options.screenshot);
  if (state_.options.stats)
    std::cout << statistics_.Summary(device_->Width(), device_->Height(), end_reason_)
              << std::flush;
  frame_.reset();
  device_.reset();
  platform_.DeviceReleased();
}

bool SceneSaverParts::WriteScreenshot(const std::string& file) {
  try {
    if (file_services_.WritePng(device_->ReadLastFrame(), file)) {
      std::cout << ConsoleLine("screenshot written to " + file) << std::endl;
      return true;
    }
    std::cerr << ConsoleLine("cannot write the screenshot " + file) << std::endl;
  } catch (const DeviceError& e) {
    std::cerr << ConsoleLine(std::string("cannot read the screen for the screenshot: ") + e.what())
              << std::endl;
  }
  return false;
}

int RunSceneSaver(StartupState& state, const SaverRunServices& s,
                  const std::string& program_folder) {
  SceneSaverParts parts(state, s.windows, s.platform, s.file_services, program_folder);
  SaverSession session(state, s.windows, s.window, parts, s.music, s.clock,
                       SaverRunLimits{state.options.frames, state.options.uncapped});
  const int status = session.Run();
  return status == 0 && parts.ScreenshotFailed() ? 1 : status;
}

}  // namespace vx
