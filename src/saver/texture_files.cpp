#include "saver/texture_files.h"

#include <filesystem>
#include <fstream>
#include <utility>

#include "startup/settings.h"

namespace vx {
namespace {

std::string Join(const std::string& folder, std::string_view name) {
  return (std::filesystem::path(folder) / std::string(name)).string();
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
  std::ifstream in(path, std::ios::binary);
  std::string bytes(kDataPackLength, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<size_t>(in.gcount()));
  return bytes;
}

void RemoveImages(const std::string& folder) {
  for (const ImageRange& image : kImages) {
    const std::string path = Join(folder, image.name);
    if (FileExists(path)) {
      std::error_code ec;
      std::filesystem::remove(path, ec);  // a file in use stays; the end goes on
    }
  }
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
  const std::string pack_path = PackPath();
  if (!FileExists(pack_path)) return Fail(kPackMissingMessage);

  // Check everything before writing anything, so a bad pack leaves no file behind and the
  // saver ends with a message instead of a device that cannot load its atlas.
  const std::string pack = ReadPack(pack_path);
  if (pack.size() < kDataPackLength) return Fail(kPackDamagedMessage);
  for (const ImageRange& image : kImages) {
    if (!services_.ImageDecodes(std::string_view(pack).substr(image.offset, image.length)))
      return Fail(kPackDamagedMessage);
  }

  if (services_.FolderIsWritable(program_folder_) && WriteImages(program_folder_, pack)) {
    image_folder_ = program_folder_;
    return true;
  }
  // An installed copy's folder belongs to root: the images go where only this user can see
  // them, and the folder goes with them at the end.
  std::string folder = services_.MakePrivateFolder();
  if (folder.empty()) return Fail(kImagesUnwritableMessage);
  private_folder_ = folder;
  if (!WriteImages(folder, pack)) {
    DeleteTextureFiles();
    return Fail(kImagesUnwritableMessage);
  }
  image_folder_ = folder;
  return true;
}

bool TextureFiles::WriteImages(const std::string& folder, const std::string& pack) {
  for (const ImageRange& image : kImages) {
    // Truncating: a longer file left by an earlier run must not keep a stale tail.
    std::ofstream out(Join(folder, image.name), std::ios::binary | std::ios::trunc);
    out.write(pack.data() + image.offset, static_cast<std::streamsize>(image.length));
    out.close();
    if (!out) {
      RemoveImages(folder);
      return false;
    }
  }
  return true;
}

std::string TextureFiles::ImagePath(AtlasKind atlas) const {
  const std::string& folder = image_folder_.empty() ? program_folder_ : image_folder_;
  return Join(folder, atlas == AtlasKind::kScenery ? kSceneryImageName : kLettersImageName);
}

void TextureFiles::DeleteTextureFiles() {
  RemoveImages(image_folder_.empty() ? program_folder_ : image_folder_);
  if (!private_folder_.empty()) {
    std::error_code ec;
    std::filesystem::remove(private_folder_, ec);  // only when empty: never someone's files
    private_folder_.clear();
  }
  image_folder_.clear();
}

}  // namespace vx
