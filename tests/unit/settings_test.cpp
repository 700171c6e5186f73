#include "settings/settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "fakes/temp_dir.h"
#include "settings/ini_profile_strings.h"

namespace vx {
namespace {

using test::TempDir;

class SettingsTest : public ::testing::Test {
 protected:
  Settings LoadFile(const std::string& ini_text) {
    Settings s;
    LoadSettings(s, profile, dir.Write("Vexlum.ini", ini_text),
                 ScreenMetrics{1024 * 15.0, 768 * 15.0, 15.0f, 15.0f});
    return s;
  }
  Settings Load(const std::string& lines) { return LoadFile("[Section]\n" + lines + "\n"); }
  TempDir dir;
  IniProfileStrings profile;
};

TEST_F(SettingsTest, EmptyOrDamagedFilesGiveTheDefaults) {
  const Settings s = LoadFile("");
  EXPECT_EQ(std::tie(s.time_step, s.glyph_height, s.glyph_width, s.column_limit),
            std::tuple(20, 21, 18, 100));
  EXPECT_EQ(std::tie(s.atlas, s.music_source, s.repeat_track, s.music_file),
            std::tuple(AtlasKind::kScenery, MusicSource::kNone, 0, ""));
  EXPECT_EQ(std::tie(s.screen_width_px, s.screen_height_px), std::tuple(1024, 768));

  // No final line end after a long line; a NUL byte ends a value; a folder holds no settings.
  EXPECT_EQ(
      LoadFile("Limite=5\n[Section]\n" + std::string(100000, 'x') + "\nLimite=7").column_limit, 7);
  EXPECT_EQ(Load(std::string("Limite=1\0002", 10)).column_limit, 1);
  Settings folder;
  std::filesystem::create_directory(dir.File("folder.ini"));
  LoadSettings(folder, profile, dir.File("folder.ini"), ScreenMetrics{});
  EXPECT_EQ(folder.time_step, 20);
}

TEST_F(SettingsTest, ThirtyTwoBitKeysRoundHalfToEvenAndZeroIsCorrected) {
  // An unreadable or overflowing number leaves 0, which is then corrected like a 0.
  const std::pair<const char*, int32_t> speeds[] = {{"0", 17}, {"abc", 17},  {"3000000000", 17},
                                                    {" 5", 5}, {"12.5", 12}, {"13.5", 14}};
  for (const auto& [text, step] : speeds)
    EXPECT_EQ(Load(std::string("SpeedFactor=") + text).time_step, step) << text;

  EXPECT_EQ(Load("Limite=0").column_limit, 10);
  EXPECT_EQ(Load("Limite=-3").column_limit, 10);
  EXPECT_EQ(Load("Limite=").column_limit, 100);
  EXPECT_EQ(Load("Limite=40000").column_limit, 40000);

  // A missing width follows the height in the proportion 21 : 18, rounded.
  const auto letters = [&](const std::string& lines) {
    const Settings s = Load(lines);
    return std::to_string(s.glyph_height) + " x " + std::to_string(s.glyph_width);
  };
  EXPECT_EQ(letters("LetterHeight=42\nLetterWidth=0"), "42 x 36");
  EXPECT_EQ(letters("LetterHeight=0\nLetterWidth=0"), "21 x 18");
  EXPECT_EQ(letters("LetterHeight=10\nLetterWidth=0"), "10 x 9");  // 8.57
  EXPECT_EQ(letters("LetterHeight=7\nLetterWidth=-1"), "7 x 6");
  EXPECT_EQ(letters("LetterHeight=35\nLetterWidth=x"), "35 x 30");
}

TEST_F(SettingsTest, SixteenBitKeysFloorFailOnOverflowAndMayBeSpelledInCp932) {
  EXPECT_EQ(static_cast<int>(Load("Kind=2.9").atlas), 2);
  EXPECT_EQ(static_cast<int>(Load("Kind=-0.5").atlas), -1);
  EXPECT_EQ(static_cast<int>(Load("Kind=40000").atlas), 0);
  EXPECT_EQ(Load("BGMﾘﾋﾟｰﾄ=3.7").repeat_track, 3);
  // "BGM区分" and "BGMﾘﾋﾟｰﾄ" as the original platform wrote them.
  const Settings s =
      LoadFile("[Section]\r\nBGM\x8B\xE6\x95\xAA=1\r\nBGM\xD8\xCB\xDF\xB0\xC4=4\r\n");
  EXPECT_EQ(s.music_source, MusicSource::kCd);
  EXPECT_EQ(s.repeat_track, 4);
}

TEST_F(SettingsTest, AMusicFileThatCannotBeReadTurnsFileMusicOff) {
  const std::string missing = dir.File("missing.mp3");
  Settings s = Load("BGM区分=2\nBGMﾌｧｲﾙ=" + missing);
  EXPECT_EQ(s.music_source, MusicSource::kNone);
  EXPECT_EQ(s.music_file, "");
  EXPECT_EQ(Load("BGM区分=2\nBGMﾌｧｲﾙ=" + dir.path().string() + "/").music_source,
            MusicSource::kNone);  // a folder
  // The CD does not depend on the file.
  EXPECT_EQ(Load("BGM区分=1\nBGMﾌｧｲﾙ=" + missing).music_source, MusicSource::kCd);

  // A path longer than other values are read with.
  const std::string folder = std::string(150, 'a') + "/" + std::string(150, 'b');
  std::filesystem::create_directories(dir.path() / folder);
  const std::string song = dir.Write(folder + "/song.mp3", "x");
  s = Load("BGM区分=2\nBGMﾌｧｲﾙ=" + song);
  EXPECT_EQ(s.music_source, MusicSource::kFile);
  EXPECT_EQ(s.music_file, song);
}

TEST(FileExists, FilesOnlyAndTrailingSeparatorDropped) {
  TempDir dir;
  const std::string f = dir.Write("a.wav", "x");
  EXPECT_TRUE(FileExists(f));
  EXPECT_TRUE(FileExists(f + "/"));
  EXPECT_TRUE(FileExists(f + "\\"));
  EXPECT_FALSE(FileExists(f + "//"));
  EXPECT_FALSE(FileExists(dir.path().string()));
  EXPECT_FALSE(FileExists(dir.File("none")));
  EXPECT_FALSE(FileExists(""));
}

}  // namespace
}  // namespace vx
