#include "platform/common/run_folders.h"

#include <chrono>
#include <utility>

#include "core/utf8_path.h"
#include "platform/common/texture_image.h"
#include "saver/texture_files.h"

namespace vx {
namespace {

namespace fs = std::filesystem;

// A folder without its lock file yet is being set up by a run that has just started; only
// one that stays like that for this long is taken for a run that died while setting up.
constexpr auto kSetUpGrace = std::chrono::seconds(60);

bool OlderThan(const fs::path& path, std::chrono::seconds age) {
  std::error_code ec;
  const auto written = fs::last_write_time(path, ec);
  return !ec && fs::file_time_type::clock::now() - written > age;
}

}  // namespace

RunFolders::RunFolders(std::string base, std::unique_ptr<RunFolderLocks> locks)
    : locks_(std::move(locks)), base_(base.empty() ? locks_->DefaultBase() : std::move(base)) {}

RunFolders::~RunFolders() {
  while (!held_.empty()) ReleaseRunFolder(held_.begin()->first);
}

void RunFolders::RemoveRunFolder(const fs::path& folder) {
  std::error_code ec;
  for (std::string_view name :
       {kLettersImageName, kSceneryImageName, kRunLockName, kNewRunLockName})
    fs::remove(folder / Utf8Path(name), ec);
  fs::remove(folder, ec);  // only when empty
}

std::string RunFolders::MakeRunFolder() {
  intptr_t lock = 0;
  std::string folder = locks_->MakeLockedFolder(base_, lock);
  if (!folder.empty()) held_[folder] = lock;
  return folder;
}

void RunFolders::ReleaseRunFolder(const std::string& folder) {
  auto it = held_.find(folder);
  if (it == held_.end()) return;
  locks_->ReleaseLock(folder, it->second);
  held_.erase(it);
  std::error_code ec;
  fs::remove(Utf8Path(folder), ec);  // only when empty
}

void RunFolders::ReclaimAbandonedRunFolders() {
  std::error_code ec;
  for (fs::directory_iterator it(Utf8Path(base_), ec), end; !ec && it != end; it.increment(ec)) {
    const fs::path folder = it->path();
    const std::string name = Utf8String(folder.filename());
    if (name.size() != kRunFolderPrefix.size() + 6 || name.rfind(kRunFolderPrefix, 0) != 0)
      continue;
    if (held_.count(Utf8String(folder))) continue;
    const FolderLock lock = locks_->Probe(folder);
    // A run that died, or one that died before it locked (or an older saver's folder).
    if (lock == FolderLock::kFree ||
        (lock == FolderLock::kAbsent && OlderThan(folder, kSetUpGrace)))
      RemoveRunFolder(folder);
  }
}

bool RunFolders::ImageDecodes(std::string_view bytes, int width, int height) {
  return ImageDecodesAs(bytes, width, height);
}

bool RunFolders::WritePng(const RgbaImage& image, const std::string& file) {
  return WritePngFile(image, file);
}

}  // namespace vx
