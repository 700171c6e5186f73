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

namespace {

std::filesystem::path ApplicationDataFile() {
  wchar_t app_data[MAX_PATH] = {};
  std::filesystem::path base;
  if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, app_data)))
    base = app_data;
  else
    base = std::filesystem::temp_directory_path();
  return base / L"Vexlum" / Utf8Path(kSettingsFileName);
}

// Opened for writing and closed again, unchanged: no file is made.
bool FileIsWritable(const std::filesystem::path& file) {
  HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  CloseHandle(handle);
  return true;
}

}  // namespace

std::string SettingsFilePath(const std::string& program_folder) {
  const std::filesystem::path beside = Utf8Path(program_folder) / Utf8Path(kSettingsFileName);
  std::error_code ec;
  const bool beside_exists = std::filesystem::is_regular_file(beside, ec);
  if (beside_exists && FileIsWritable(beside)) return Utf8String(beside);
  // A save that could not go beside the program went here, so it is the newer.
  const std::filesystem::path app_data = ApplicationDataFile();
  if (std::filesystem::is_regular_file(app_data, ec)) return Utf8String(app_data);
  return Utf8String(beside);
}

std::string SettingsFileForSaving(const std::string& settings_file) {
  const std::filesystem::path file = Utf8Path(settings_file);
  const std::filesystem::path app_data = ApplicationDataFile();
  if (file == app_data) return settings_file;
  std::error_code ec;
  const bool writable = std::filesystem::is_regular_file(file, ec)
                            ? FileIsWritable(file)
                            : FolderIsWritable(Utf8String(file.parent_path()));
  // Made by this save, not before: reading the settings leaves no trace.
  return writable ? settings_file : Utf8String(app_data);
}

}  // namespace vx
