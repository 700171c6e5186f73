// The saver's texture-file services on Windows. Run folders are "vexlum-XXXXXX" in the user's
// temporary folder (%LOCALAPPDATA%\Temp), private to the user as everything there is; each
// holds a lock file its run keeps open without sharing while it lives, so a lock file that
// can be opened belongs to a run that is gone.
#pragma once

#include <map>
#include <string>

#include "ports/texture_file_services.h"

namespace vx {

class WindowsTextureFileServices : public TextureFileServices {
 public:
  // Run folders are made in `base` (UTF-8); empty for the user's temporary folder.
  explicit WindowsTextureFileServices(std::string base = "");
  ~WindowsTextureFileServices() override;
  WindowsTextureFileServices(const WindowsTextureFileServices&) = delete;
  WindowsTextureFileServices& operator=(const WindowsTextureFileServices&) = delete;

  std::string MakeRunFolder() override;
  void ReleaseRunFolder(const std::string& folder) override;
  void ReclaimAbandonedRunFolders() override;
  bool ImageDecodes(std::string_view bytes, int width, int height) override;

  const std::string& Base() const { return base_; }

 private:
  std::string base_;
  std::map<std::string, void*> locks_;  // folder -> the handle holding its lock file open
};

}  // namespace vx
