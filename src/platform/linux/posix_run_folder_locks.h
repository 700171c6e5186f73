// Run folders on Linux: made by mkdtemp (mode 0700) in $XDG_RUNTIME_DIR, else in the
// temporary folder; the lock is an flock on the folder's lock file.
#pragma once

#include "platform/common/run_folders.h"

namespace vx {

class PosixRunFolderLocks final : public RunFolderLocks {
 public:
  std::string DefaultBase() override;
  std::string MakeLockedFolder(const std::string& base, intptr_t& lock) override;
  void ReleaseLock(const std::string& folder, intptr_t lock) override;
  FolderLock Probe(const std::filesystem::path& folder) override;
};

}  // namespace vx
