// The folders each saver run copies the pack's images into: "vexlum-" and six characters,
// private to the user, each holding a lock file that its run keeps locked while it lives, so
// that a folder whose lock can be taken belongs to a run that is gone and may be reclaimed.
// How a folder is made and locked, and how a lock is tested, is each system's own
// (RunFolderLocks); the rest is here.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "ports/texture_file_services.h"

namespace vx {

inline constexpr std::string_view kRunFolderPrefix = "vexlum-";
inline constexpr std::string_view kRunLockName = "run.lock";
// Where a lock may be taken before its file gets the real name (posix_run_folder_locks.cpp).
inline constexpr std::string_view kNewRunLockName = "run.lock.new";

enum class FolderLock {
  kHeld,    // a live run holds it, or the folder is not this user's own to judge
  kFree,    // its run is gone
  kAbsent,  // no lock file (yet)
};

class RunFolderLocks {
 public:
  virtual ~RunFolderLocks() = default;
  // The folder run folders are made in when none is given.
  virtual std::string DefaultBase() = 0;
  // Makes a new folder of this user's alone in `base`, named kRunFolderPrefix and six
  // characters, with its lock taken; `lock` gets what holds it. "" when none can be made.
  virtual std::string MakeLockedFolder(const std::string& base, intptr_t& lock) = 0;
  // Gives the lock up and removes its file.
  virtual void ReleaseLock(const std::string& folder, intptr_t lock) = 0;
  virtual FolderLock Probe(const std::filesystem::path& folder) = 0;
};

// This system's way, defined once per system (posix_run_folder_locks.cpp,
// win32_run_folder_locks.cpp).
class SystemRunFolderLocks final : public RunFolderLocks {
 public:
  std::string DefaultBase() override;
  std::string MakeLockedFolder(const std::string& base, intptr_t& lock) override;
  void ReleaseLock(const std::string& folder, intptr_t lock) override;
  FolderLock Probe(const std::filesystem::path& folder) override;
};

class RunFolders final : public TextureFileServices {
 public:
  // Run folders are made in `base`; empty for the system's default.
  explicit RunFolders(std::string base = "", std::unique_ptr<RunFolderLocks> locks =
                                                 std::make_unique<SystemRunFolderLocks>());
  ~RunFolders() override;
  RunFolders(const RunFolders&) = delete;
  RunFolders& operator=(const RunFolders&) = delete;

  std::string MakeRunFolder() override;
  void ReleaseRunFolder(const std::string& folder) override;
  void ReclaimAbandonedRunFolders() override;
  // Reads the size from the header first, so an image of the wrong size is never decoded.
  bool ImageDecodes(std::string_view bytes, int width, int height) override;
  bool WritePng(const RgbaImage& image, const std::string& file) override;

  const std::string& Base() const { return base_; }

  // Removes what a run may have left in its folder, then the folder if nothing else is in it:
  // never someone else's files.
  static void RemoveRunFolder(const std::filesystem::path& folder);

 private:
  std::unique_ptr<RunFolderLocks> locks_;
  std::string base_;
  std::map<std::string, intptr_t> held_;  // folder -> what holds its lock
};

}  // namespace vx
