// Run folders on Windows: made under the user's temporary folder (%LOCALAPPDATA%\Temp); the
// lock is the folder's lock file held open without sharing.
#include <windows.h>

#include <random>

#include "core/utf8_path.h"
#include "platform/common/run_folders.h"
#include "platform/windows/win32_wide_text.h"

namespace vx {

namespace {

namespace fs = std::filesystem;

HANDLE OpenLock(const fs::path& lock, DWORD disposition) {
  return CreateFileW(lock.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, disposition,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

std::string RandomSuffix() {
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device device;
  std::string suffix;
  for (int i = 0; i < 6; ++i) suffix += kLetters[device() % (sizeof kLetters - 1)];
  return suffix;
}

}  // namespace

std::string SystemRunFolderLocks::DefaultBase() {
  wchar_t buffer[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
  if (length == 0 || length > MAX_PATH) return ".";
  std::wstring path(buffer, length);
  while (!path.empty() && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
  return Narrow(path);
}

std::string SystemRunFolderLocks::MakeLockedFolder(const std::string& base, intptr_t& lock) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    const fs::path folder =
        Utf8Path(base) / Utf8Path(std::string(kRunFolderPrefix) + RandomSuffix());
    if (!CreateDirectoryW(folder.c_str(), nullptr)) {
      if (GetLastError() == ERROR_ALREADY_EXISTS) continue;
      return {};
    }
    // Made and locked in one step: no other run ever finds this lock file unlocked.
    HANDLE file = OpenLock(folder / Utf8Path(kRunLockName), CREATE_NEW);
    if (file == INVALID_HANDLE_VALUE) {
      RunFolders::RemoveRunFolder(folder);
      return {};
    }
    lock = reinterpret_cast<intptr_t>(file);
    return Utf8String(folder);
  }
  return {};
}

void SystemRunFolderLocks::ReleaseLock(const std::string& folder, intptr_t lock) {
  // Held open unshared, the file can only go once it is closed.
  CloseHandle(reinterpret_cast<HANDLE>(lock));
  std::error_code ec;
  fs::remove(Utf8Path(folder) / Utf8Path(kRunLockName), ec);
}

FolderLock SystemRunFolderLocks::Probe(const fs::path& folder) {
  std::error_code ec;
  if (!fs::is_directory(fs::symlink_status(folder, ec))) return FolderLock::kHeld;
  HANDLE file = OpenLock(folder / Utf8Path(kRunLockName), OPEN_EXISTING);
  if (file != INVALID_HANDLE_VALUE) {
    // Opening it proves that its run is gone: a live run holds it open unshared.
    CloseHandle(file);
    return FolderLock::kFree;
  }
  return GetLastError() == ERROR_FILE_NOT_FOUND ? FolderLock::kAbsent : FolderLock::kHeld;
}

}  // namespace vx
