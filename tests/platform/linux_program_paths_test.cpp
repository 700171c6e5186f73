#include "platform/linux/linux_program_paths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "fakes/temp_dir.h"

namespace vx {
namespace {

TEST(ProgramPaths, AnInstalledCopyNeverKeepsItsSettingsBesideItself) {
  for (const char* installed : {"/usr/libexec/xscreensaver", "/usr/local/bin", "/opt/vexlum",
                                "/tmp/unpacked/usr/libexec/xscreensaver"})
    EXPECT_TRUE(IsInstalledLocation(installed)) << installed;
  for (const char* own : {"/home/me/vexlum/build/src", "/tmp/user", "/"})
    EXPECT_FALSE(IsInstalledLocation(own)) << own;

  // Even where it could write (as root can, anywhere), and without making any folder.
  test::TempDir dir;
  const std::filesystem::path program = dir.path() / "usr" / "libexec";
  std::filesystem::create_directories(program);
  setenv("XDG_CONFIG_HOME", (dir.path() / "config").c_str(), 1);
  EXPECT_EQ(SettingsFilePath(program.string()), (dir.path() / "config/vexlum/Vexlum.ini").string());
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "config"));
  EXPECT_EQ(SettingsFilePath(dir.path().string()), (dir.path() / "Vexlum.ini").string());
  unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
}  // namespace vx
