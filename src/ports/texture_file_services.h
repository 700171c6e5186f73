// What the saver's texture files need from the platform: a private folder when the program's
// own folder cannot take them, and a check that a pack's image really decodes.
#pragma once

#include <string>
#include <string_view>

namespace vx {

class TextureFileServices {
 public:
  virtual ~TextureFileServices() = default;
  virtual bool FolderIsWritable(const std::string& folder) = 0;
  // A new folder only this user can enter (mode 0700); "" when none could be made.
  virtual std::string MakePrivateFolder() = 0;
  // True when the bytes are an image the texture loader can decode.
  virtual bool ImageDecodes(std::string_view bytes) = 0;
};

}  // namespace vx
