#include "startup/settings.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "fakes/temp_dir.h"
#include "startup/ini_profile_strings.h"

namespace vx {
namespace {

using test::TempDir;

class SettingsTest : public ::testing::Test {
 protected:
  Settings Load(const std::string& ini_text) {
    std::string file = dir.Write("Vexlum.ini", ini_text);
    Settings s;
    LoadSettings(s, profile, file, ScreenMetrics{1024 * 15.0, 768 * 15.0, 15.0f, 15.0f});
    return s;
  }
  TempDir dir;
  IniProfileStrings profile;
};

TEST_F(SettingsTest, EmptyFileGivesEveryDefault) {
  Settings s = Load("");
  EXPECT_EQ(s.time_step, 20);
  EXPECT_EQ(s.glyph_height, 21);
  EXPECT_EQ(s.glyph_width, 18);
  EXPECT_EQ(s.column_limit, 100);
  EXPECT_EQ(static_cast<int>(s.atlas), 0);
  EXPECT_EQ(static_cast<int>(s.music_source), 0);
  EXPECT_EQ(s.repeat_track, 0);
  EXPECT_EQ(s.music_file, "");
  EXPECT_EQ(s.screen_width_px, 1024);
  EXPECT_EQ(s.screen_height_px, 768);
  EXPECT_EQ(s.frame_rate_cap, 40);
  EXPECT_EQ(s.adapter_index, 0);
}

TEST_F(SettingsTest, SpeedFactorCorrections) {
  EXPECT_EQ(Load("[Section]\nSpeedFactor=0\n").time_step, 17);
  EXPECT_EQ(Load("[Section]\nSpeedFactor=abc\n").time_step, 17);  // unreadable leaves 0
  EXPECT_EQ(Load("[Section]\nSpeedFactor= 5\n").time_step, 5);
  EXPECT_EQ(Load("[Section]\nSpeedFactor=12.5\n").time_step, 12);
  EXPECT_EQ(Load("[Section]\nSpeedFactor=13.5\n").time_step, 14);
  EXPECT_EQ(Load("[Section]\nSpeedFactor=3000000000\n").time_step, 17);  // overflow leaves 0
}

TEST_F(SettingsTest, LimiteCorrections) {
  EXPECT_EQ(Load("[Section]\nLimite=0\n").column_limit, 10);
  EXPECT_EQ(Load("[Section]\nLimite=-3\n").column_limit, 10);
  EXPECT_EQ(Load("[Section]\nLimite=\n").column_limit, 100);
  EXPECT_EQ(Load("[Section]\nLimite=40000\n").column_limit, 40000);
}

TEST_F(SettingsTest, LetterSizeDerivations) {
  Settings s = Load("[Section]\nLetterHeight=42\nLetterWidth=0\n");
  EXPECT_EQ(s.glyph_height, 42);
  EXPECT_EQ(s.glyph_width, 36);
  s = Load("[Section]\nLetterHeight=0\nLetterWidth=0\n");
  EXPECT_EQ(s.glyph_height, 21);
  EXPECT_EQ(s.glyph_width, 18);
  s = Load("[Section]\nLetterHeight=10\nLetterWidth=0\n");
  EXPECT_EQ(s.glyph_width, 9);  // 8.571... rounds to 9
  s = Load("[Section]\nLetterHeight=7\nLetterWidth=-1\n");
  EXPECT_EQ(s.glyph_width, 6);  // exactly 6.0
  s = Load("[Section]\nLetterHeight=35\nLetterWidth=x\n");
  EXPECT_EQ(s.glyph_width, 30);
}

TEST_F(SettingsTest, SixteenBitKeysFloorAndFailOnOverflow) {
  EXPECT_EQ(static_cast<int>(Load("[Section]\nKind=2.9\n").atlas), 2);
  EXPECT_EQ(static_cast<int>(Load("[Section]\nKind=-0.5\n").atlas), -1);
  EXPECT_EQ(static_cast<int>(Load("[Section]\nKind=40000\n").atlas), 0);
  EXPECT_EQ(Load("[Section]\nBGMﾘﾋﾟｰﾄ=3.7\n").repeat_track, 3);
}

TEST_F(SettingsTest, MusicFileFallbacks) {
  Settings s = Load("[Section]\nBGM区分=2\nBGMﾌｧｲﾙ=" + dir.File("missing.mp3") + "\n");
  EXPECT_EQ(static_cast<int>(s.music_source), 0);
  EXPECT_EQ(s.music_file, "");

  std::string song = dir.Write("song.mp3", "x");
  s = Load("[Section]\nBGM区分=2\nBGMﾌｧｲﾙ=" + song + "\n");
  EXPECT_EQ(static_cast<int>(s.music_source), 2);
  EXPECT_EQ(s.music_file, song);

  s = Load("[Section]\nBGM区分=2\nBGMﾌｧｲﾙ=" + dir.path().string() + "/\n");  // a folder
  EXPECT_EQ(static_cast<int>(s.music_source), 0);

  s = Load("[Section]\nBGM区分=1\nBGMﾌｧｲﾙ=" + dir.File("missing.mp3") + "\n");
  EXPECT_EQ(static_cast<int>(s.music_source), 1);  // the CD source is not checked here
  s = Load("[Section]\nBGM区分=1\n");
  EXPECT_EQ(static_cast<int>(s.music_source), 1);
}

TEST_F(SettingsTest, KeysWrittenByTheOriginalPlatformInCp932AreRead) {
  // "BGM区分" and "BGMﾘﾋﾟｰﾄ" spelled in CP932 bytes.
  Settings s = Load("[Section]\r\nBGM\x8B\xE6\x95\xAA=1\r\nBGM\xD8\xCB\xDF\xB0\xC4=4\r\n");
  EXPECT_EQ(static_cast<int>(s.music_source), 1);
  EXPECT_EQ(s.repeat_track, 4);
}

TEST_F(SettingsTest, HostileFilesFallBackToDefaults) {
  std::string garbage;
  for (int i = 0; i < 70000; ++i) garbage += static_cast<char>((i * 7919) % 256);
  Settings s = Load(garbage);
  EXPECT_EQ(s.time_step, 20);
  EXPECT_EQ(s.column_limit, 100);

  s = Load("Limite=5\n[Section]\n" + std::string(100000, 'x') + "\nLimite=7");  // no final newline
  EXPECT_EQ(s.column_limit, 7);
  s = Load(std::string("[Section]\nLimite=1\0002\n", 20));
  EXPECT_EQ(s.column_limit, 1);  // cut at the NUL byte

  // A folder where the file should be, and an unreadable file.
  Settings f;
  std::filesystem::create_directory(dir.File("folder.ini"));
  LoadSettings(f, profile, dir.File("folder.ini"), ScreenMetrics{});
  EXPECT_EQ(f.time_step, 20);
  EXPECT_EQ(f.glyph_width, 18);
}

TEST(FileExists, FilesOnlyAndTrailingSeparatorDropped) {
  TempDir dir;
  std::string f = dir.Write("a.wav", "x");
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
