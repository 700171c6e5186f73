#include "platform/linux/linux_program_paths.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "settings/settings.h"

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

bool IsInstalledLocation(const std::string& folder) {
  const std::filesystem::path relative = std::filesystem::path(folder).relative_path();
  if (relative.empty()) return false;
  const std::string top = relative.begin()->string();
  for (const char* system : {"opt", "bin", "sbin", "lib", "lib64", "snap"})
    if (top == system) return true;
  return std::any_of(relative.begin(), relative.end(),
                     [](const std::filesystem::path& part) { return part == "usr"; });
}

std::string SettingsFilePath(const std::string& program_folder) {
  if (!IsInstalledLocation(program_folder) && FolderIsWritable(program_folder))
    return program_folder + "/" + std::string(kSettingsFileName);
  std::filesystem::path base;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) {
    base = xdg;
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    base = std::filesystem::path(home) / ".config";
  } else {
    base = std::filesystem::temp_directory_path();
  }
  // Made by the first save, not here: reading the settings must leave no trace.
  return (base / "vexlum" / std::string(kSettingsFileName)).string();
}

}  // namespace vx
