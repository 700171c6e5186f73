#include "saver/texture_files.h"

#include <filesystem>
#include <fstream>
#include <utility>

#include "core/utf8_path.h"
#include "settings/settings.h"

namespace vx {
namespace {

std::string Join(const std::string& folder, std::string_view name) {
  return Utf8String(Utf8Path(folder) / Utf8Path(name));
}

struct ImageRange {
  std::string_view name;
  uint64_t offset;
  uint64_t length;
};

constexpr ImageRange kImages[] = {
    {kLettersImageName, kLettersImageOffset, kLettersImageLength},
    {kSceneryImageName, kSceneryImageOffset, kSceneryImageLength},
};

// Reads at most the pack's known length; what lies behind it is never looked at.
std::string ReadPack(const std::string& path) {
  std::ifstream in(Utf8Path(path), std::ios::binary);
  std::string bytes(kDataPackLength, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<size_t>(in.gcount()));
  return bytes;
}

}  // namespace

TextureFiles::TextureFiles(std::string program_folder, WindowSystem& windows,
                           TextureFileServices& services)
    : program_folder_(std::move(program_folder)), windows_(windows), services_(services) {}

TextureFiles::~TextureFiles() {
  DeleteTextureFiles();
}

std::string TextureFiles::PackPath() const {
  return Join(program_folder_, kDataPackName);
}

bool TextureFiles::Fail(std::string_view message) {
  windows_.MessageBox(message, kPackMessageTitle, kMbIconExclamation);
  return false;
}

bool TextureFiles::ExtractTextures() {
  DeleteTextureFiles();  // a second call starts from a clean state
  services_.ReclaimAbandonedRunFolders();
  const std::string pack_path = PackPath();
  if (!FileExists(pack_path)) return Fail(kPackMissingMessage);

  // Check everything before writing anything, so a bad pack leaves no file behind and the
  // saver ends with a message instead of a device that cannot load its atlas.
  const std::string pack = ReadPack(pack_path);
  if (pack.size() < kDataPackLength) return Fail(kPackDamagedMessage);
  for (const ImageRange& image : kImages) {
    const std::string_view bytes = std::string_view(pack).substr(image.offset, image.length);
    if (!services_.ImageDecodes(bytes, kPackImageSize, kPackImageSize))
      return Fail(kPackDamagedMessage);
  }

  image_folder_ = services_.MakeRunFolder();
  if (image_folder_.empty()) return Fail(kImagesUnwritableMessage);
  if (!WriteImages(pack)) {
    DeleteTextureFiles();
    return Fail(kImagesUnwritableMessage);
  }
  return true;
}

bool TextureFiles::WriteImages(const std::string& pack) {
  for (const ImageRange& image : kImages) {
    std::ofstream out(Utf8Path(Join(image_folder_, image.name)),
                      std::ios::binary | std::ios::trunc);
    if (!out) return false;  // nothing made: whatever holds that name is not ours to delete
    ++images_written_;
    out.write(pack.data() + image.offset, static_cast<std::streamsize>(image.length));
    out.close();
    if (!out) return false;
  }
  return true;
}

std::string TextureFiles::ImagePath(AtlasKind atlas) const {
  return Join(image_folder_, atlas == AtlasKind::kScenery ? kSceneryImageName : kLettersImageName);
}

void TextureFiles::DeleteTextureFiles() {
  if (image_folder_.empty()) return;
  std::error_code ec;
  for (int i = 0; i < images_written_; ++i)
    std::filesystem::remove(Utf8Path(Join(image_folder_, kImages[static_cast<size_t>(i)].name)),
                            ec);  // in use: it stays
  images_written_ = 0;
  services_.ReleaseRunFolder(image_folder_);
  image_folder_.clear();
}

}  // namespace vx
