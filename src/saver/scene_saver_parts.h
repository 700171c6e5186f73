// The saver's parts on every system: the data pack's image files, and on each screen (every
// monitor, or the one window) a device with a scene of its own and its own seeded generator;
// the screenshot and statistics the command line can ask for. The system makes the devices
// and keeps the process's clock (SaverPlatform).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/random.h"
#include "core/tick_clock.h"
#include "ports/device.h"
#include "ports/music_port.h"
#include "ports/saver_parts.h"
#include "ports/saver_platform.h"
#include "ports/saver_window.h"
#include "ports/texture_file_services.h"
#include "ports/window_system.h"
#include "saver/run_statistics.h"
#include "saver/scene_frame.h"
#include "saver/texture_files.h"
#include "startup/mode_dispatch.h"

namespace vx {

class SceneSaverParts final : public SaverParts {
 public:
  // Everything is borrowed and must outlive the parts.
  SceneSaverParts(const StartupState& state, WindowSystem& windows, SaverPlatform& platform,
                  TextureFileServices& file_services, const std::string& program_folder);

  bool CheckAndExtractPack() override { return files_.ExtractTextures(); }
  void SeedRandom() override;
  bool SetUpDevice() override;
  void BeforeLoop() override;
  void DrawFrame() override;
  void DeleteImages() override { files_.DeleteTextureFiles(); }
  void ReleaseDevice() override;
  void NoteEnd(std::string_view why) override { end_reason_ = why; }

  // True when --screenshot named a file that could not be written.
  bool ScreenshotFailed() const { return screenshot_failed_; }
  // The screens drawing a scene now, primary first (a secondary one whose device failed is
  // gone); for tests.
  std::vector<int> ScreensShown() const;
  SceneFrame* FrameOf(int screen);

 private:
  // One screen's device, generator and scene.
  struct ScreenScene {
    int screen = 0;
    std::unique_ptr<Device> device;
    MersenneRandom random;
    std::unique_ptr<SceneFrame> frame;
  };
  // Makes screen `screen`'s device and scene; throws what the platform or the scene threw.
  void SetUpScreen(int screen);
  // Takes a secondary screen's scene away after its device failed, saying so on the console;
  // the others go on.
  void DropScreen(size_t index, const std::string& why);
  void ReleaseScreen(ScreenScene& screen);
  bool WriteScreenshot(Device& device, const std::string& file);

  const StartupState& state_;
  WindowSystem& windows_;
  SaverPlatform& platform_;
  TextureFileServices& file_services_;
  TextureFiles files_;
  uint32_t seed_ = 0;  // the primary screen's
  std::vector<std::unique_ptr<ScreenScene>> screens_;
  std::vector<std::pair<int, int>> sizes_;  // of the screens set up, for --stats
  std::vector<uint32_t> seeds_;             // the same
  RunStatistics statistics_;
  std::string end_reason_ = "the system";
  bool screenshot_failed_ = false;
};

// What one saver run stands on, all borrowed.
struct SaverRunServices {
  WindowSystem& windows;
  SaverWindow& window;
  SaverPlatform& platform;
  TextureFileServices& file_services;
  MusicPort& music;
  TickClock& clock;
};

// Runs the saver on these services: the parts, the session and its loop. Returns the process's
// exit status; a screenshot asked for and not written is a failed run.
int RunSceneSaver(StartupState& state, const SaverRunServices& services,
                  const std::string& program_folder);

// The file --screenshot-all FILE writes screen `screen`'s picture to: FILE for the primary,
// "shot-2.png" for the second screen of "shot.png".
std::string ScreenshotFileOf(const std::string& file, int screen);

// The local time of day to the millisecond.
uint32_t MillisecondsSinceMidnight();

}  // namespace vx
