#include "platform/linux/program_paths.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "startup/settings.h"

namespace vx {

std::string ProgramFolder() {
  std::error_code ec;
  auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return std::filesystem::current_path(ec).string();
  return exe.parent_path().string();
}

bool FolderIsWritable(const std::string& folder) {
  return access(folder.c_str(), W_OK | X_OK) == 0;
}

std::string SettingsFilePath(const std::string& program_folder) {
  if (FolderIsWritable(program_folder))
    return program_folder + "/" + std::string(kSettingsFileName);
  std::filesystem::path base;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) {
    base = xdg;
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    base = std::filesystem::path(home) / ".config";
  } else {
    base = std::filesystem::temp_directory_path();
  }
  auto folder = base / "vexlum";
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  return (folder / std::string(kSettingsFileName)).string();
}

}  // namespace vx
