// The saver's parts on Linux: the data pack's image files, the OpenGL context and device
// (on the saver's SDL window or off-screen), the seeded generator and the picture, plus the
// screenshot and statistics the command line can ask for.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/random.h"
#include "platform/linux/gl_context.h"
#include "platform/linux/gl_device.h"
#include "platform/linux/linux_texture_file_services.h"
#include "platform/linux/sdl_saver_window.h"
#include "platform/linux/x11_window_system.h"
#include "saver/run_statistics.h"
#include "saver/saver_parts.h"
#include "saver/scene_frame.h"
#include "saver/texture_files.h"
#include "startup/mode_dispatch.h"

namespace vx {

class LinuxSaverParts final : public SaverParts {
 public:
  // `window` is null for off-screen rendering at width x height. `hosted`: the window is a
  // host's (XScreenSaver's), whose size may change under us.
  LinuxSaverParts(const StartupState& state, X11WindowSystem& windows, const std::string& folder,
                  SdlSaverWindow* window, bool hosted, int width, int height);

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
  X11WindowSystem& windows_;
  SdlSaverWindow* window_;
  bool hosted_;
  int width_, height_;
  LinuxTextureFileServices file_services_;
  TextureFiles files_;
  MersenneRandom random_;
  std::unique_ptr<GlContext> context_;
  std::unique_ptr<GlDevice> device_;
  std::unique_ptr<SceneFrame> frame_;
  RunStatistics statistics_;
  std::string end_reason_ = "the system";
  bool screenshot_failed_ = false;
};

}  // namespace vx
