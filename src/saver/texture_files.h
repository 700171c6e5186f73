// The data pack beside the program and the two atlas image files copied out of it for the
// length of one saver run.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/texts.h"
#include "ports/texture_file_services.h"
#include "ports/window_system.h"
#include "settings/settings.h"

namespace vx {

inline constexpr std::string_view kDataPackName = "Vexlum_Data.ppd";
// Written with this case on every platform; a case-insensitive file system finds them under
// any spelling, a case-sensitive one only under this, so callers go through ImagePath.
inline constexpr std::string_view kLettersImageName = "Vexlum01.png";
inline constexpr std::string_view kSceneryImageName = "Vexlum02.png";

inline constexpr uint64_t kLettersImageOffset = 0;
inline constexpr uint64_t kLettersImageLength = 227334;
inline constexpr uint64_t kSceneryImageOffset = kLettersImageOffset + kLettersImageLength;
inline constexpr uint64_t kSceneryImageLength = 664482;
inline constexpr uint64_t kDataPackLength = kSceneryImageOffset + kSceneryImageLength;

inline constexpr std::string_view kPackMessageTitle = "Vexlum(ScreenSaver)";
inline constexpr std::string_view kPackMissingMessage = texts::kPackMissing.japanese;
inline constexpr std::string_view kPackDamagedMessage = texts::kPackDamaged.japanese;
inline constexpr std::string_view kImagesUnwritableMessage = texts::kImagesUnwritable.japanese;

// The size both pack images must have: the atlas cells are laid out on it.
inline constexpr int kPackImageSize = 512;

// The two atlas images of one saver run, copied out of the pack into a folder of the run's
// own and deleted at its end. Runs sharing a program folder (one per monitor) never touch each
// other's files.
class TextureFiles {
 public:
  TextureFiles(std::string program_folder, WindowSystem& windows, TextureFileServices& services);
  ~TextureFiles();  // removes whatever is still on disk
  TextureFiles(const TextureFiles&) = delete;
  TextureFiles& operator=(const TextureFiles&) = delete;

  // Checks the pack and copies both images out. On any failure the user has been told why,
  // nothing is left on disk, and the saver must end (with status 1).
  bool ExtractTextures();
  // The file the device loads its atlas from: scenery for kScenery, letters for every other
  // value the settings file may hold.
  std::string ImagePath(AtlasKind atlas) const;
  // Deletes the images this run wrote and its folder.
  void DeleteTextureFiles();

  const std::string& ImageFolder() const { return image_folder_; }
  std::string PackPath() const;

 private:
  bool WriteImages(const std::string& pack);
  bool Fail(std::string_view message);

  std::string program_folder_;
  WindowSystem& windows_;
  TextureFileServices& services_;
  std::string image_folder_;  // this run's folder, while it exists
  int images_written_ = 0;    // how many of the pack's images this run has written there
};

}  // namespace vx
