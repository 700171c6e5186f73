// The saver's parts on every system: the data pack's image files, the seeded generator, the
// device with the picture on it, and the screenshot and statistics the command line can ask
// for. The system makes the device and keeps the process's clock (SaverPlatform).
#pragma once

#include <memory>
#include <string>
#include <string_view>

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

 private:
  bool WriteScreenshot(const std::string& file);

  const StartupState& state_;
  WindowSystem& windows_;
  SaverPlatform& platform_;
  TextureFileServices& file_services_;
  TextureFiles files_;
  MersenneRandom random_;
  std::unique_ptr<Device> device_;
  std::unique_ptr<SceneFrame> frame_;
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

// The local time of day to the millisecond.
uint32_t MillisecondsSinceMidnight();

}  // namespace vx
