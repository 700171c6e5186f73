// The saver's texture-file services on Linux: access(2), mkdtemp(3) and the texture decoder.
#pragma once

#include "ports/texture_file_services.h"

namespace vx {

class LinuxTextureFileServices : public TextureFileServices {
 public:
  bool FolderIsWritable(const std::string& folder) override;
  // Under $TMPDIR (else /tmp), named vexlum-XXXXXX.
  std::string MakePrivateFolder() override;
  // Decodes the whole image (not just its header) with the device's own decoder.
  bool ImageDecodes(std::string_view bytes) override;
};

}  // namespace vx
