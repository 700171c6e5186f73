// The saver's texture-file services on Linux: access(2), mkdtemp(3) and stb_image.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/texture_file_services.h"

namespace vx {

struct DecodedSize {
  int Width = 0;
  int Height = 0;
};

// Decodes the whole image (not just its header); false for anything stb_image refuses. The
// pixels, when asked for, come as 8-bit RGBA rows.
bool DecodeImage(std::string_view bytes, DecodedSize& size, std::vector<uint8_t>* rgba = nullptr);

class LinuxTextureFileServices : public TextureFileServices {
 public:
  bool FolderIsWritable(const std::string& folder) override;
  // Under $TMPDIR (else /tmp), named vexlum-XXXXXX.
  std::string MakePrivateFolder() override;
  bool ImageDecodes(std::string_view bytes) override;
};

}  // namespace vx
