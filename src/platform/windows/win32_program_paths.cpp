#include "platform/windows/win32_program_paths.h"

#include <windows.h>
// windows.h first: shlobj.h relies on its types.
#include <shlobj.h>

#include <filesystem>
#include <random>

#include "core/utf8_path.h"
#include "platform/windows/win32_wide_text.h"
#include "settings/settings.h"

namespace vx {

std::string ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return ".";
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);  // a long path: try again with room for it
  }
  return Utf8String(std::filesystem::path(path).parent_path());
}

bool FolderIsWritable(const std::string& folder) {
  std::random_device random;
  const std::filesystem::path probe =
      Utf8Path(folder) / Utf8Path("vexlum-write-test-" + std::to_string(random()) + ".tmp");
  HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

std::string SettingsFilePath(const std::string& program_folder) {
  if (FolderIsWritable(program_folder))
    return Utf8String(Utf8Path(program_folder) / Utf8Path(kSettingsFileName));
  wchar_t app_data[MAX_PATH] = {};
  std::filesystem::path base;
  if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, app_data)))
    base = app_data;
  else
    base = std::filesystem::temp_directory_path();
  // Made by the first save, not here: reading the settings must leave no trace.
  return Utf8String(base / L"Vexlum" / Utf8Path(kSettingsFileName));
}

}  // namespace vx
