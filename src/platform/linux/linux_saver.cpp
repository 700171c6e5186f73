#include "platform/linux/linux_saver.h"

#include <SDL.h>
#include <stb_image_write.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <iostream>
#include <memory>

#include "core/random.h"
#include "music/vx_bgm.h"
#include "platform/linux/gl_context.h"
#include "platform/linux/gl_device.h"
#include "platform/linux/linux_texture_file_services.h"
#include "platform/linux/sdl_multimedia.h"
#include "platform/linux/sdl_saver_window.h"
#include "saver/scene_frame.h"
#include "saver/texture_files.h"
#include "saver/vx_s.h"

namespace vx {
namespace {

constexpr std::string_view kStartFailedMessage = "画面の準備ができません!";

double ProcessCpuMs() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1000.0 +
         (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1000.0;
}

// Seconds since local midnight, as the saver has always seeded its generator.
uint32_t SecondsSinceMidnight() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return static_cast<uint32_t>(local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec);
}

// The window XScreenSaver asks us to draw in: -window-id, $XSCREENSAVER_WINDOW, or -root.
uint64_t HostWindow(const SaverOptions& o, X11WindowSystem& windows) {
  // XScreenSaver starts its hacks with -root and names its own full-screen window in
  // $XSCREENSAVER_WINDOW: that window, not the real root behind it, is where it shows them.
  if (o.WindowId) return *o.WindowId;
  if (const char* env = std::getenv("XSCREENSAVER_WINDOW"); env && *env)
    return std::strtoull(env, nullptr, 0);
  if (o.Root) return windows.RootWindowId();
  return 0;
}

class LinuxSaverParts final : public SaverParts {
 public:
  LinuxSaverParts(StartupState& state, X11WindowSystem& windows, const std::string& folder,
                  SdlSaverWindow* window, bool hosted, int width, int height)
      : state_(state),
        windows_(windows),
        window_(window),
        hosted_(hosted),
        width_(width),
        height_(height),
        files_(folder, windows, file_services_),
        music_(multimedia_, state.settings) {}

  bool CheckAndExtractPack() override { return files_.ExtractTextures(); }

  void SeedRandom() override {
    random_.Seed(state_.options.Seed ? *state_.options.Seed : SecondsSinceMidnight());
  }

  bool SetUpDevice() override {
    try {
      context_ = window_ ? CreateSdlGlContext(window_->window(), /*vsync=*/!state_.options.Uncapped)
                         : CreateHeadlessGlContext(width_, height_);
      device_ = std::make_unique<GlDevice>(*context_);
      frame_ = std::make_unique<SceneFrame>(*device_, random_, SceneSettingsOf(state_.settings),
                                            files_.ImagePath(state_.settings.Kind),
                                            state_.options.Title.value_or(""));
      return true;
    } catch (const std::exception& e) {
      windows_.MessageBox(std::string(kStartFailedMessage) + "\n" + e.what(), "Vexlum(ScreenSaver)",
                          kMbIconExclamation);
      return false;
    }
  }

  void BeforeLoop() override {
    cpu_start_ms_ = ProcessCpuMs();
    wall_start_ = std::chrono::steady_clock::now();
  }

  void DrawFrame() override {
    // A host window (XScreenSaver's) may be resized at any time; the picture follows it.
    if (hosted_ &&
        (context_->Width() != device_->Width() || context_->Height() != device_->Height())) {
      device_->Resize(context_->Width(), context_->Height());
    }
    frame_->Draw();
    draw_calls_ += device_->Stats().draw_calls_last_frame;
    ++frames_;
  }

  void DeleteImages() override { files_.DeleteTextureFiles(); }

  void ReleaseDevice() override {
    if (!device_) return;
    if (!state_.options.Screenshot.empty()) WriteScreenshot(state_.options.Screenshot);
    if (state_.options.Stats) PrintStats();
    frame_.reset();
    device_.reset();
    context_.reset();
  }

  void OpenCd() override { music_.OpenCd(); }
  bool PollCd() override {
    music_.PollCd();
    return music_.CdPolling;
  }
  void PreviousTrack() override { music_.PreviousTrack(); }
  void NextTrack() override { music_.NextTrack(); }
  void CloseCd() override { music_.CloseCd(); }
  void PlayMp3() override { music_.PlayMp3(); }
  void PollMp3() override { music_.PollMp3(); }
  void StopMp3() override { music_.StopMp3(); }
  void PlayWav() override { music_.PlayWav(); }
  void StopWav() override { music_.StopWav(); }
  void NoteEnd(std::string_view why) override { end_reason_ = why; }

 private:
  void WriteScreenshot(const std::string& file) {
    const RgbaImage image = device_->ReadPixels();
    if (stbi_write_png(file.c_str(), image.Width, image.Height, 4, image.Pixels.data(),
                       image.Width * 4))
      std::cout << "vexlum: screenshot written to " << file << std::endl;
    else
      std::cerr << "vexlum: cannot write the screenshot " << file << std::endl;
  }

  void PrintStats() const {
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wall_start_).count();
    const double frames = static_cast<double>(frames_ ? frames_ : 1);
    const double cpu_ms = ProcessCpuMs() - cpu_start_ms_;
    std::printf(
        "frames drawn: %llu\nframes per second: %.1f\nCPU ms per frame: %.2f\n"
        "process CPU: %.0f%% of one core\nGL draw calls per frame: %.1f\nsize: %d x %d\n"
        "ended by: %s\n",
        static_cast<unsigned long long>(frames_), seconds > 0 ? frames_ / seconds : 0.0,
        cpu_ms / frames, seconds > 0 ? cpu_ms / (seconds * 10.0) : 0.0,
        static_cast<double>(draw_calls_) / frames, device_->Width(), device_->Height(),
        end_reason_.c_str());
    std::fflush(stdout);
  }

  StartupState& state_;
  X11WindowSystem& windows_;
  SdlSaverWindow* window_;
  bool hosted_;  // in a host's window, whose size may change under us
  int width_, height_;
  LinuxTextureFileServices file_services_;
  TextureFiles files_;
  SdlMultimedia multimedia_;
  MusicPlayer music_;
  MersenneRandom random_;
  std::unique_ptr<GlContext> context_;
  std::unique_ptr<GlDevice> device_;
  std::unique_ptr<SceneFrame> frame_;
  uint64_t frames_ = 0, draw_calls_ = 0;
  std::string end_reason_ = "the system";
  double cpu_start_ms_ = 0;
  std::chrono::steady_clock::time_point wall_start_;
};

}  // namespace

int RunLinuxSaver(StartupState& state, X11WindowSystem& windows, const std::string& folder) {
  const SaverOptions& o = state.options;
  InstallTerminationHandlers();

  std::unique_ptr<SdlSaverWindow> sdl_window;
  bool hosted = false;
  std::unique_ptr<SaverWindow> headless;
  int width = state.settings.ScreenWidthPx, height = state.settings.ScreenHeightPx;
  if (o.Windowed) {
    width = o.Windowed->first;
    height = o.Windowed->second;
  }
  if (!windows.HasDisplay()) {
    if (!o.Frames) {
      std::cerr << "vexlum: the saver needs a display (DISPLAY is not set or cannot be "
                   "opened); give --frames N to render off-screen instead\n";
      return 1;
    }
    headless = std::make_unique<HeadlessSaverWindow>();
  } else {
    SaverWindowOptions wo;
    wo.windowed = o.Windowed;
    wo.hide_cursor = state.ModeLetter == 'S';
    wo.foreign_window = HostWindow(o, windows);
    hosted = wo.foreign_window != 0;
    wo.width = width;
    wo.height = height;
    try {
      sdl_window = std::make_unique<SdlSaverWindow>(wo);
    } catch (const std::exception& e) {
      windows.MessageBox(std::string(kStartFailedMessage) + "\n" + e.what(), "Vexlum(ScreenSaver)",
                         kMbIconExclamation);
      if (state.ModeLetter == 'S') {
        SetSaverRunning(windows, -1);
        windows.ShowCursor(true);
      }
      return 1;
    }
  }
  SaverWindow& window = sdl_window ? static_cast<SaverWindow&>(*sdl_window) : *headless;

  SteadyTickClock clock;
  int status;
  {
    LinuxSaverParts parts(state, windows, folder, sdl_window.get(), hosted, width, height);
    VX_S saver(state, windows, window, parts, clock, SaverRunLimits{o.Frames, o.Uncapped});
    status = saver.Form_Load();
  }
  return status;
}

}  // namespace vx
