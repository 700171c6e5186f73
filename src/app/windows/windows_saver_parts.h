// The saver's parts on Windows: the data pack's image files, the Direct3D 8 device on the
// saver's window, the seeded generator and the picture, plus the screenshot and statistics
// the command line can ask for.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "core/random.h"
#include "platform/windows/d3d8_device.h"
#include "platform/windows/win32_saver_window.h"
#include "platform/windows/win32_window_system.h"
#include "platform/windows/windows_texture_file_services.h"
#include "saver/run_statistics.h"
#include "saver/saver_parts.h"
#include "saver/scene_frame.h"
#include "saver/texture_files.h"
#include "startup/mode_dispatch.h"

namespace vx {

class WindowsSaverParts final : public SaverParts {
 public:
  WindowsSaverParts(const StartupState& state, Win32WindowSystem& windows,
                    const std::string& folder, Win32SaverWindow& window, bool windowed);

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
  Win32WindowSystem& windows_;
  Win32SaverWindow& window_;
  bool windowed_;
  WindowsTextureFileServices file_services_;
  TextureFiles files_;
  MersenneRandom random_;
  std::unique_ptr<D3D8Device> device_;
  std::unique_ptr<SceneFrame> frame_;
  RunStatistics statistics_;
  std::string end_reason_ = "the system";
  bool screenshot_failed_ = false;
};

}  // namespace vx
