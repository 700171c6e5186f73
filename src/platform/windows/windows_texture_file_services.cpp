#include "platform/windows/windows_texture_file_services.h"

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <random>

#include "core/utf8_path.h"
#include "platform/common/texture_image.h"
#include "platform/windows/wide_text.h"
#include "saver/texture_files.h"

namespace vx {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kPrefix = "vexlum-";
constexpr std::string_view kLockName = "run.lock";
// A folder without its lock file yet is being set up by a run that has just started; only
// one that stays like that for this long is taken for a run that died while setting up.
constexpr auto kSetUpGrace = std::chrono::seconds(60);

std::string DefaultBase() {
  wchar_t buffer[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
  if (length == 0 || length > MAX_PATH) return ".";
  std::wstring path(buffer, length);
  while (!path.empty() && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
  return Narrow(path);
}

HANDLE OpenLock(const fs::path& lock, DWORD disposition) {
  return CreateFileW(lock.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, disposition,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Removes what a run may have left in its folder, then the folder if nothing else is in it.
void RemoveRunFolder(const fs::path& folder) {
  std::error_code ec;
  for (std::string_view name : {kLettersImageName, kSceneryImageName, kLockName})
    fs::remove(folder / Utf8Path(name), ec);
  fs::remove(folder, ec);  // only when empty: never someone's files
}

bool OlderThan(const fs::path& path, std::chrono::seconds age) {
  std::error_code ec;
  const auto written = fs::last_write_time(path, ec);
  return !ec && fs::file_time_type::clock::now() - written > age;
}

std::string RandomSuffix() {
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device device;
  std::string suffix;
  for (int i = 0; i < 6; ++i) suffix += kLetters[device() % (sizeof kLetters - 1)];
  return suffix;
}

}  // namespace

WindowsTextureFileServices::WindowsTextureFileServices(std::string base)
    : base_(base.empty() ? DefaultBase() : std::move(base)) {}

WindowsTextureFileServices::~WindowsTextureFileServices() {
  while (!locks_.empty()) ReleaseRunFolder(locks_.begin()->first);
}

std::string WindowsTextureFileServices::MakeRunFolder() {
  for (int attempt = 0; attempt < 100; ++attempt) {
    const fs::path folder = Utf8Path(base_) / Utf8Path(std::string(kPrefix) + RandomSuffix());
    if (!CreateDirectoryW(folder.c_str(), nullptr)) {
      if (GetLastError() == ERROR_ALREADY_EXISTS) continue;
      return {};
    }
    // Made and locked in one step: no other run ever finds this lock file unlocked.
    HANDLE lock = OpenLock(folder / Utf8Path(kLockName), CREATE_NEW);
    if (lock == INVALID_HANDLE_VALUE) {
      RemoveRunFolder(folder);
      return {};
    }
    const std::string name = Utf8String(folder);
    locks_[name] = lock;
    return name;
  }
  return {};
}

void WindowsTextureFileServices::ReleaseRunFolder(const std::string& folder) {
  auto it = locks_.find(folder);
  if (it == locks_.end()) return;
  CloseHandle(static_cast<HANDLE>(it->second));
  locks_.erase(it);
  std::error_code ec;
  fs::remove(Utf8Path(folder) / Utf8Path(kLockName), ec);
  fs::remove(Utf8Path(folder), ec);  // only when empty
}

void WindowsTextureFileServices::ReclaimAbandonedRunFolders() {
  std::error_code ec;
  for (fs::directory_iterator it(Utf8Path(base_), ec), end; !ec && it != end; it.increment(ec)) {
    const fs::path folder = it->path();
    const std::string name = Utf8String(folder.filename());
    if (name.size() != kPrefix.size() + 6 || name.rfind(kPrefix, 0) != 0) continue;
    if (locks_.count(Utf8String(folder))) continue;
    std::error_code kind;
    if (!fs::is_directory(fs::symlink_status(folder, kind))) continue;
    HANDLE lock = OpenLock(folder / Utf8Path(kLockName), OPEN_EXISTING);
    if (lock != INVALID_HANDLE_VALUE) {
      // Opening it proves that its run is gone: a live run holds it open unshared.
      CloseHandle(lock);
      RemoveRunFolder(folder);
    } else if (GetLastError() == ERROR_FILE_NOT_FOUND && OlderThan(folder, kSetUpGrace)) {
      RemoveRunFolder(folder);  // a run that died before it locked
    }
  }
}

bool WindowsTextureFileServices::ImageDecodes(std::string_view bytes, int width, int height) {
  return ImageDecodesAs(bytes, width, height);
}

}  // namespace vx
