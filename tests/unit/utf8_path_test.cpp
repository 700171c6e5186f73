#include "core/utf8_path.h"

#include <gtest/gtest.h>

#include "fakes/temp_dir.h"
#include "settings/ini_profile_strings.h"
#include "settings/settings.h"

namespace vx {
namespace {

// A folder name no single-byte code page can spell: on Windows a narrow file name would turn
// it into question marks and the files would land elsewhere, or nowhere.
constexpr const char* kFolderName = "設定 Ünïcode フォルダ";

TEST(Utf8Path, FilesInAFolderOfAnyNameAreWrittenAndReadUnderThatName) {
  test::TempDir dir;
  const std::string folder = Utf8String(dir.path()) + "/" + kFolderName;
  const std::string file = folder + "/Vexlum.ini";
  IniProfileStrings profile;
  ASSERT_TRUE(profile.WriteString("Section", "BGMﾌｧｲﾙ", "曲.mp3", file));
  EXPECT_TRUE(FileExists(file));
  EXPECT_EQ(profile.GetString("Section", "BGMﾌｧｲﾙ", file), "曲.mp3");
  // The folder on disk carries the intended name, not a lossy spelling of it.
  bool found = false;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
    found = found || Utf8String(entry.path().filename()) == kFolderName;
  EXPECT_TRUE(found);
  EXPECT_EQ(Utf8Path(Utf8String(Utf8Path(file))), Utf8Path(file));
}

TEST(Utf8Path, TextThatIsNotUtf8IsNeverAFailure) {
  EXPECT_TRUE(IsValidUtf8("plain ascii"));
  EXPECT_TRUE(IsValidUtf8("曲 ♪ \xF0\x9F\x8E\xB5"));  // up to four bytes
  for (const char* bad : {"\x80", "\xC0\x80", "\xE0\x80\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                          "\xE6\x9B", "\x8B\xC8.mp3", "\xFF"})
    EXPECT_FALSE(IsValidUtf8(bad)) << bad;
  // A name stored in Shift_JIS by an older program: a path all the same, and one that
  // round-trips, where converting it as UTF-8 would throw on Windows.
  const std::string cp932_name = "\x8B\xC8.mp3";
  EXPECT_NO_THROW(Utf8Path(cp932_name));
  EXPECT_FALSE(FileExists(cp932_name));
}

}  // namespace
}  // namespace vx
