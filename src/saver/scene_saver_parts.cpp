#include "saver/scene_saver_parts.h"

#include <chrono>
#include <ctime>
#include <iostream>
#include <optional>

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
  seed_ = state_.options.seed ? *state_.options.seed
                              : RunSeed(MillisecondsSinceMidnight(), platform_.ProcessId());
}

void SceneSaverParts::SetUpScreen(int screen) {
  auto scene = std::make_unique<ScreenScene>();
  scene->screen = screen;
  scene->random.Seed(ScreenSeed(seed_, screen));
  DeviceRequest request;
  request.screen = screen;
  request.vsync = !state_.options.uncapped && state_.settings.frame_rate_cap >= 0;
  // Only the primary screen's picture is written.
  request.readable =
      !state_.options.screenshot.empty() && (screen == 0 || state_.options.screenshot_all);
  try {
    scene->device = platform_.MakeDevice(request);
    scene->frame = std::make_unique<SceneFrame>(
        *scene->device, scene->random, SceneSettingsOf(state_.settings),
        files_.ImagePath(state_.settings.atlas), state_.options.title.value_or(""));
  } catch (...) {
    ReleaseScreen(*scene);
    throw;
  }
  sizes_.emplace_back(scene->device->Width(), scene->device->Height());
  seeds_.push_back(ScreenSeed(seed_, screen));
  screens_.push_back(std::move(scene));
}

bool SceneSaverParts::SetUpDevice() {
  try {
    SetUpScreen(0);
  } catch (const std::exception& e) {
    // A host that took its window away meanwhile has only ended us early: nothing to say.
    if (platform_.HostWindowGone()) {
      end_reason_ = "host window gone";
      return false;
    }
    windows_.MessageBox(std::string(kStartFailedMessage) + "\n" + e.what(), kSaverMessageTitle,
                        kMbIconExclamation);
    return false;
  }
  // A monitor that cannot show a scene stays black; the saver runs on the others.
  for (int screen = 1; screen < platform_.ScreenCount(); ++screen) {
    try {
      SetUpScreen(screen);
    } catch (const std::exception& e) {
      SayLine(std::cerr, "monitor " + std::to_string(screen + 1) + " shows no scene: " + e.what());
    }
  }
  return true;
}

void SceneSaverParts::BeforeLoop() {
  statistics_.Start();
  if (state_.options.fps)
    for (auto& screen : screens_) screen->frame->SetCornerText("FPS: 0.0\nCPU: 0.0%");
}

void SceneSaverParts::DrawFrame() {
  std::optional<std::string> fps_text;
  if (state_.options.fps) fps_text = statistics_.FpsText();
  uint64_t draw_calls = 0, triangles = 0;
  // All screens take their step together, so none runs ahead of a slower one.
  for (size_t i = 0; i < screens_.size();) {
    ScreenScene& screen = *screens_[i];
    try {
      platform_.BeforeFrame(*screen.device, screen.screen);
      if (fps_text) screen.frame->SetCornerText(*fps_text);
      screen.frame->Draw();
    } catch (const std::exception& e) {
      // The primary screen's failure ends the saver; another's (its monitor gone, its device
      // beyond recovery) only takes that screen's scene away.
      if (screen.screen == 0) throw;
      DropScreen(i, e.what());
      continue;
    }
    const FrameCounts counts = screen.device->LastFrameCounts();
    draw_calls += counts.draw_calls;
    triangles += counts.triangles;
    ++i;
  }
  statistics_.CountFrame(draw_calls, triangles);
}

void SceneSaverParts::DropScreen(size_t index, const std::string& why) {
  SayLine(std::cerr, "monitor " + std::to_string(screens_[index]->screen + 1) +
                         " stops showing its scene: " + why);
  ReleaseScreen(*screens_[index]);
  screens_.erase(screens_.begin() + static_cast<std::ptrdiff_t>(index));
}

void SceneSaverParts::ReleaseScreen(ScreenScene& screen) {
  screen.frame.reset();
  screen.device.reset();
  platform_.DeviceReleased(screen.screen);
}

void SceneSaverParts::ReleaseDevice() {
  if (screens_.empty()) return;
  if (!state_.options.screenshot.empty()) {
    for (const auto& screen : screens_) {
      if (screen->screen > 0 && !state_.options.screenshot_all) break;
      if (!WriteScreenshot(*screen->device,
                           ScreenshotFileOf(state_.options.screenshot, screen->screen)))
        screenshot_failed_ = true;
    }
  }
  if (state_.options.stats) {
    std::string seeds;
    for (uint32_t seed : seeds_) seeds += (seeds.empty() ? "" : ", ") + std::to_string(seed);
    std::cout << statistics_.Summary(sizes_, end_reason_) << "seeds: " << seeds << "\n"
              << std::flush;
  }
  for (auto& screen : screens_) ReleaseScreen(*screen);
  screens_.clear();
}

std::vector<int> SceneSaverParts::ScreensShown() const {
  std::vector<int> shown;
  for (const auto& screen : screens_) shown.push_back(screen->screen);
  return shown;
}

SceneFrame* SceneSaverParts::FrameOf(int screen) {
  for (auto& s : screens_)
    if (s->screen == screen) return s->frame.get();
  return nullptr;
}

std::string ScreenshotFileOf(const std::string& file, int screen) {
  if (screen == 0) return file;
  const size_t slash = file.find_last_of("/\\");
  const size_t dot = file.rfind('.');
  const bool has_extension =
      dot != std::string::npos && dot > 0 && (slash == std::string::npos || dot > slash + 1);
  const std::string suffix = "-" + std::to_string(screen + 1);
  return has_extension ? file.substr(0, dot) + suffix + file.substr(dot) : file + suffix;
}

bool SceneSaverParts::WriteScreenshot(Device& device, const std::string& file) {
  try {
    if (file_services_.WritePng(device.ReadLastFrame(), file)) {
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
