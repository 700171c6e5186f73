// What the saver session drives besides the music: the data pack, the generator, the device
// and the picture (saver/scene_saver_parts.h; fakes in tests). Failures that must end the
// saver return false, having told the user why.
#pragma once

#include <string_view>

#include "core/texts.h"
namespace vx {

// The title of every message the saver shows.
inline constexpr std::string_view kSaverMessageTitle = "Vexlum(ScreenSaver)";
// What the saver says when it cannot prepare its screen; the reason follows on the next line.
inline constexpr std::string_view kStartFailedMessage = texts::kStartFailed.japanese;

class SaverParts {
 public:
  virtual ~SaverParts() = default;
  virtual bool CheckAndExtractPack() = 0;
  virtual void SeedRandom() = 0;
  virtual bool SetUpDevice() = 0;
  virtual void BeforeLoop() = 0;
  virtual void DrawFrame() = 0;
  virtual void DeleteImages() = 0;
  virtual void ReleaseDevice() = 0;
  // Why the loop is about to end (for statistics and diagnostics).
  virtual void NoteEnd(std::string_view) {}
};

}  // namespace vx
