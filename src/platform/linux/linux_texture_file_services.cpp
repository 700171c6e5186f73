#include "platform/linux/linux_texture_file_services.h"

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <limits>
#include <vector>

#include "platform/linux/program_paths.h"

// A private copy: the functions are static here, so this file neither needs nor clashes with
// another file's stb_image implementation.
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb_image.h>

namespace vx {

bool DecodeImage(std::string_view bytes, DecodedSize& size, std::vector<uint8_t>* rgba) {
  if (bytes.empty() || bytes.size() > static_cast<size_t>(std::numeric_limits<int>::max()))
    return false;
  int w = 0, h = 0, channels = 0;
  stbi_uc* pixels = stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(bytes.data()),
                                          static_cast<int>(bytes.size()), &w, &h, &channels, 4);
  if (pixels == nullptr) return false;
  if (rgba != nullptr) rgba->assign(pixels, pixels + size_t(w) * size_t(h) * 4);
  stbi_image_free(pixels);
  size = {w, h};
  return true;
}

bool LinuxTextureFileServices::FolderIsWritable(const std::string& folder) {
  return vx::FolderIsWritable(folder);
}

std::string LinuxTextureFileServices::MakePrivateFolder() {
  std::error_code ec;
  std::filesystem::path base = std::filesystem::temp_directory_path(ec);  // honours TMPDIR
  if (ec) base = "/tmp";
  std::string pattern = (base / "vexlum-XXXXXX").string();
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (mkdtemp(buffer.data()) == nullptr) return {};  // mkdtemp creates it with mode 0700
  return std::string(buffer.data());
}

bool LinuxTextureFileServices::ImageDecodes(std::string_view bytes) {
  DecodedSize size;
  return DecodeImage(bytes, size);
}

}  // namespace vx
