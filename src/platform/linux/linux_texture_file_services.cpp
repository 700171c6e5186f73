#include "platform/linux/linux_texture_file_services.h"

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <limits>
#include <vector>

#include "platform/linux/program_paths.h"
#include "platform/linux/texture_image.h"
#include "ports/device.h"

namespace vx {

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
  try {
    DecodeImage(std::vector<uint8_t>(bytes.begin(), bytes.end()), "pack image");
    return true;
  } catch (const DeviceError&) {
    return false;
  }
}

}  // namespace vx
