// Run folders on Windows: made under the user's temporary folder (%LOCALAPPDATA%\Temp); the
// lock is the folder's lock file held open without sharing.
#pragma once

#include "platform/common/run_folders.h"

namespace vx {

class Win32RunFolderLocks final : public RunFolderLocks {
 public:
  std::string DefaultBase() override;
  std::string MakeLockedFolder(const std::string& base, intptr_t& lock) override;
  void ReleaseLock(const std::string& folder, intptr_t lock) override;
  FolderLock Probe(const std::filesystem::path& folder) override;
};

}  // namespace vx
