// The saver's texture-file services on Linux. Run folders are "vexlum-XXXXXX" (mode 0700) in
// $XDG_RUNTIME_DIR, else in the temporary folder; each holds a lock file its run keeps locked
// (flock) while it lives, so a folder whose lock can be taken belongs to a run that is gone.
#pragma once

#include <map>
#include <string>

#include "ports/texture_file_services.h"

namespace vx {

class LinuxTextureFileServices : public TextureFileServices {
 public:
  // Run folders are made in `base`; empty for $XDG_RUNTIME_DIR or the temporary folder.
  explicit LinuxTextureFileServices(std::string base = "");
  ~LinuxTextureFileServices() override;
  LinuxTextureFileServices(const LinuxTextureFileServices&) = delete;
  LinuxTextureFileServices& operator=(const LinuxTextureFileServices&) = delete;

  std::string MakeRunFolder() override;
  void ReleaseRunFolder(const std::string& folder) override;
  void ReclaimAbandonedRunFolders() override;
  // Reads the size from the header first, so an image of the wrong size is never decoded.
  bool ImageDecodes(std::string_view bytes, int width, int height) override;

  const std::string& Base() const { return base_; }

 private:
  std::string base_;
  std::map<std::string, int> locks_;  // folder -> the descriptor holding its lock
};

}  // namespace vx
