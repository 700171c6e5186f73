// Run folders on Linux: made by mkdtemp (mode 0700) in $XDG_RUNTIME_DIR, else in the
// temporary folder; the lock is an flock on the folder's lock file.
#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/common/run_folders.h"

namespace vx {

namespace fs = std::filesystem;

std::string SystemRunFolderLocks::DefaultBase() {
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime) {
    std::error_code ec;
    if (fs::is_directory(runtime, ec)) return runtime;
  }
  std::error_code ec;
  fs::path temp = fs::temp_directory_path(ec);  // honours TMPDIR
  return ec ? "/tmp" : temp.string();
}

std::string SystemRunFolderLocks::MakeLockedFolder(const std::string& base, intptr_t& lock) {
  std::string pattern = (fs::path(base) / (std::string(kRunFolderPrefix) + "XXXXXX")).string();
  if (mkdtemp(pattern.data()) == nullptr) return {};  // made with mode 0700
  const fs::path folder = pattern;
  // The lock is taken on a file of another name and then renamed into place, so that no other
  // run ever finds the lock file unlocked while this one lives.
  const std::string fresh = (folder / std::string(kNewRunLockName)).string();
  const int fd = open(fresh.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0 || flock(fd, LOCK_EX | LOCK_NB) != 0 ||
      rename(fresh.c_str(), (folder / std::string(kRunLockName)).c_str()) != 0) {
    if (fd >= 0) close(fd);
    RunFolders::RemoveRunFolder(folder);
    return {};
  }
  lock = fd;
  return folder.string();
}

void SystemRunFolderLocks::ReleaseLock(const std::string& folder, intptr_t lock) {
  // The file goes first, while still locked, so no other run finds it free meanwhile.
  std::error_code ec;
  fs::remove(fs::path(folder) / std::string(kRunLockName), ec);
  close(static_cast<int>(lock));  // the lock goes with the descriptor
}

FolderLock SystemRunFolderLocks::Probe(const fs::path& folder) {
  struct stat st {};
  if (lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != geteuid())
    return FolderLock::kHeld;  // not ours to judge
  const fs::path lock = folder / std::string(kRunLockName);
  const int fd = open(lock.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return FolderLock::kAbsent;
  // Taking the lock proves that its run is gone: a live run holds it.
  const bool free = flock(fd, LOCK_EX | LOCK_NB) == 0;
  close(fd);
  return free ? FolderLock::kFree : FolderLock::kHeld;
}

}  // namespace vx
