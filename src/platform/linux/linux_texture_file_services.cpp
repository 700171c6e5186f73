#include "platform/linux/linux_texture_file_services.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "platform/common/texture_image.h"
#include "saver/texture_files.h"

namespace vx {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kPrefix = "vexlum-";
constexpr std::string_view kLockName = "run.lock";
constexpr std::string_view kNewLockName = "run.lock.new";
// A folder without its lock file yet is being set up by a run that has just started; only
// one that stays like that for this long is taken for a run that died while setting up.
constexpr auto kSetUpGrace = std::chrono::seconds(60);

std::string DefaultBase() {
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime) {
    std::error_code ec;
    if (fs::is_directory(runtime, ec)) return runtime;
  }
  std::error_code ec;
  fs::path temp = fs::temp_directory_path(ec);  // honours TMPDIR
  return ec ? "/tmp" : temp.string();
}

// Removes what a run may have left in its folder, then the folder if nothing else is in it.
void RemoveRunFolder(const fs::path& folder) {
  std::error_code ec;
  for (std::string_view name : {kLettersImageName, kSceneryImageName, kLockName, kNewLockName})
    fs::remove(folder / std::string(name), ec);
  fs::remove(folder, ec);  // only when empty: never someone's files
}

bool OlderThan(const fs::path& path, std::chrono::seconds age) {
  std::error_code ec;
  const auto written = fs::last_write_time(path, ec);
  return !ec && fs::file_time_type::clock::now() - written > age;
}

}  // namespace

LinuxTextureFileServices::LinuxTextureFileServices(std::string base)
    : base_(base.empty() ? DefaultBase() : std::move(base)) {}

LinuxTextureFileServices::~LinuxTextureFileServices() {
  while (!locks_.empty()) ReleaseRunFolder(locks_.begin()->first);
}

std::string LinuxTextureFileServices::MakeRunFolder() {
  std::string pattern = (fs::path(base_) / (std::string(kPrefix) + "XXXXXX")).string();
  if (mkdtemp(pattern.data()) == nullptr) return {};  // made with mode 0700
  const fs::path folder = pattern;
  // The lock is taken on a file of another name and then renamed into place, so that no other
  // run ever finds the lock file unlocked while this one lives.
  const std::string fresh = (folder / std::string(kNewLockName)).string();
  const int fd = open(fresh.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0 || flock(fd, LOCK_EX | LOCK_NB) != 0 ||
      rename(fresh.c_str(), (folder / std::string(kLockName)).c_str()) != 0) {
    if (fd >= 0) close(fd);
    RemoveRunFolder(folder);
    return {};
  }
  locks_[folder.string()] = fd;
  return folder.string();
}

void LinuxTextureFileServices::ReleaseRunFolder(const std::string& folder) {
  auto it = locks_.find(folder);
  if (it == locks_.end()) return;
  std::error_code ec;
  fs::remove(fs::path(folder) / std::string(kLockName), ec);
  close(it->second);  // the lock goes with the descriptor
  locks_.erase(it);
  fs::remove(folder, ec);  // only when empty
}

void LinuxTextureFileServices::ReclaimAbandonedRunFolders() {
  std::error_code ec;
  for (fs::directory_iterator it(base_, ec), end; !ec && it != end; it.increment(ec)) {
    const fs::path folder = it->path();
    const std::string name = folder.filename().string();
    if (name.size() != kPrefix.size() + 6 || name.rfind(kPrefix, 0) != 0) continue;
    if (locks_.count(folder.string())) continue;
    struct stat st {};
    if (lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != geteuid()) continue;
    const fs::path lock = folder / std::string(kLockName);
    const int fd = open(lock.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
    if (fd >= 0) {
      // Taking the lock proves that its run is gone: a live run holds it.
      if (flock(fd, LOCK_EX | LOCK_NB) == 0) RemoveRunFolder(folder);
      close(fd);
    } else if (OlderThan(folder, kSetUpGrace)) {
      RemoveRunFolder(folder);  // a run that died before it locked, or an older saver's folder
    }
  }
}

bool LinuxTextureFileServices::ImageDecodes(std::string_view bytes, int width, int height) {
  return ImageDecodesAs(bytes, width, height);
}

}  // namespace vx
