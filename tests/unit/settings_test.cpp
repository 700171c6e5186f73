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
  EXPECT_EQ(s.TimeStep, 20);
  EXPECT_EQ(s.LetterHeight, 21);
  EXPECT_EQ(s.LetterWidth, 18);
  EXPECT_EQ(s.Limite, 100);
  EXPECT_EQ(s.Kind, 0);
  EXPECT_EQ(s.MusicSource, 0);
  EXPECT_EQ(s.MusicRepeat, 0);
  EXPECT_EQ(s.MusicFile, "");
  EXPECT_EQ(s.ScreenWidthPx, 1024);
  EXPECT_EQ(s.ScreenHeightPx, 768);
  EXPECT_EQ(s.FrameRateCap, 40);
  EXPECT_EQ(s.AdapterIndex, 0);
}

TEST_F(SettingsTest, SpeedFactorCorrections) {
  EXPECT_EQ(Load("[Section]\nSpeedFactor=0\n").TimeStep, 17);
  EXPECT_EQ(Load("[Section]\nSpeedFactor=abc\n").TimeStep, 17);  // unreadable leaves 0
  EXPECT_EQ(Load("[Section]\nSpeedFactor= 5\n").TimeStep, 5);
  EXPECT_EQ(Load("[Section]\nSpeedFactor=12.5\n").TimeStep, 12);
  EXPECT_EQ(Load("[Section]\nSpeedFactor=13.5\n").TimeStep, 14);
  EXPECT_EQ(Load("[Section]\nSpeedFactor=3000000000\n").TimeStep, 17);  // overflow leaves 0
}

TEST_F(SettingsTest, LimiteCorrections) {
  EXPECT_EQ(Load("[Section]\nLimite=0\n").Limite, 10);
  EXPECT_EQ(Load("[Section]\nLimite=-3\n").Limite, 10);
  EXPECT_EQ(Load("[Section]\nLimite=\n").Limite, 100);
  EXPECT_EQ(Load("[Section]\nLimite=40000\n").Limite, 40000);
}

TEST_F(SettingsTest, LetterSizeDerivations) {
  Settings s = Load("[Section]\nLetterHeight=42\nLetterWidth=0\n");
  EXPECT_EQ(s.LetterHeight, 42);
  EXPECT_EQ(s.LetterWidth, 36);
  s = Load("[Section]\nLetterHeight=0\nLetterWidth=0\n");
  EXPECT_EQ(s.LetterHeight, 21);
  EXPECT_EQ(s.LetterWidth, 18);
  s = Load("[Section]\nLetterHeight=10\nLetterWidth=0\n");
  EXPECT_EQ(s.LetterWidth, 9);  // 8.571... rounds to 9
  s = Load("[Section]\nLetterHeight=7\nLetterWidth=-1\n");
  EXPECT_EQ(s.LetterWidth, 6);  // exactly 6.0
  s = Load("[Section]\nLetterHeight=35\nLetterWidth=x\n");
  EXPECT_EQ(s.LetterWidth, 30);
}

TEST_F(SettingsTest, SixteenBitKeysFloorAndFailOnOverflow) {
  EXPECT_EQ(Load("[Section]\nKind=2.9\n").Kind, 2);
  EXPECT_EQ(Load("[Section]\nKind=-0.5\n").Kind, -1);
  EXPECT_EQ(Load("[Section]\nKind=40000\n").Kind, 0);
  EXPECT_EQ(Load("[Section]\nBGMﾘﾋﾟｰﾄ=3.7\n").MusicRepeat, 3);
}

TEST_F(SettingsTest, MusicFileFallbacks) {
  Settings s = Load("[Section]\nBGM区分=2\nBGMﾌｧｲﾙ=" + dir.File("missing.mp3") + "\n");
  EXPECT_EQ(s.MusicSource, 0);
  EXPECT_EQ(s.MusicFile, "");

  std::string song = dir.Write("song.mp3", "x");
  s = Load("[Section]\nBGM区分=2\nBGMﾌｧｲﾙ=" + song + "\n");
  EXPECT_EQ(s.MusicSource, 2);
  EXPECT_EQ(s.MusicFile, song);

  s = Load("[Section]\nBGM区分=2\nBGMﾌｧｲﾙ=" + dir.path().string() + "/\n");  // a folder
  EXPECT_EQ(s.MusicSource, 0);

  s = Load("[Section]\nBGM区分=1\nBGMﾌｧｲﾙ=" + dir.File("missing.mp3") + "\n");
  EXPECT_EQ(s.MusicSource, 1);  // the CD source is not checked here
  s = Load("[Section]\nBGM区分=1\n");
  EXPECT_EQ(s.MusicSource, 1);
}

TEST_F(SettingsTest, KeysWrittenByTheOriginalPlatformInCp932AreRead) {
  // "BGM区分" and "BGMﾘﾋﾟｰﾄ" spelled in CP932 bytes.
  Settings s = Load("[Section]\r\nBGM\x8B\xE6\x95\xAA=1\r\nBGM\xD8\xCB\xDF\xB0\xC4=4\r\n");
  EXPECT_EQ(s.MusicSource, 1);
  EXPECT_EQ(s.MusicRepeat, 4);
}

TEST_F(SettingsTest, HostileFilesFallBackToDefaults) {
  std::string garbage;
  for (int i = 0; i < 70000; ++i) garbage += static_cast<char>((i * 7919) % 256);
  Settings s = Load(garbage);
  EXPECT_EQ(s.TimeStep, 20);
  EXPECT_EQ(s.Limite, 100);

  s = Load("Limite=5\n[Section]\n" + std::string(100000, 'x') + "\nLimite=7");  // no final newline
  EXPECT_EQ(s.Limite, 7);
  s = Load(std::string("[Section]\nLimite=1\0002\n", 20));
  EXPECT_EQ(s.Limite, 1);  // cut at the NUL byte

  // A folder where the file should be, and an unreadable file.
  Settings f;
  std::filesystem::create_directory(dir.File("folder.ini"));
  LoadSettings(f, profile, dir.File("folder.ini"), ScreenMetrics{});
  EXPECT_EQ(f.TimeStep, 20);
  EXPECT_EQ(f.LetterWidth, 18);
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

TEST(Ini, ReadTrimsQuotesAndCutsLongValues) {
  TempDir dir;
  IniProfileStrings p;
  std::string f = dir.Write("t.ini",
                            "; comment\nTop=1\n[other]\nKey=wrong\n[SECTION]\n  key  =  \"a b\"  \n"
                            "key=second\nq='x'\nhalf=\"x\nlong=" +
                                std::string(300, 'v') + "\n");
  EXPECT_EQ(ReadIni(p, "section", "KEY", f), "a b");  // first of duplicates, any case
  EXPECT_EQ(ReadIni(p, "Section", "q", f), "x");
  EXPECT_EQ(ReadIni(p, "Section", "half", f), "\"x");
  EXPECT_EQ(ReadIni(p, "Section", "long", f), std::string(255, 'v'));
  EXPECT_EQ(ReadIni(p, "Section", "Top", f), "");
  EXPECT_EQ(ReadIni(p, "Nope", "key", f), "");
  EXPECT_EQ(ReadIni(p, "Section", "key", dir.File("missing.ini")), "");
}

TEST(Ini, WriteKeepsEverythingElseAndStoresJapaneseKeysInCp932) {
  TempDir dir;
  IniProfileStrings p;
  std::string f =
      dir.Write("t.ini", "; keep me\n[Other]\nA=1\n\n[Section]\nLimite=5\n; note\n\n[Last]\nZ=9\n");
  WriteIni(p, "Section", "Limite", "50", f);
  WriteIni(p, "Section", "BGM区分", "2", f);
  WriteIni(p, "Section", "BGMﾌｧｲﾙ", "/music/a b.mp3", f);
  EXPECT_EQ(TempDir::Read(f),
            "; keep me\n[Other]\nA=1\n\n[Section]\nLimite=50\n; note\n"
            "BGM\x8B\xE6\x95\xAA=2\nBGM\xCC\xA7\xB2\xD9=/music/a b.mp3\n\n[Last]\nZ=9\n");
  EXPECT_EQ(ReadIni(p, "Section", "BGM区分", f), "2");
  EXPECT_EQ(ReadIni(p, "Section", "BGMﾌｧｲﾙ", f), "/music/a b.mp3");

  // Rewriting a key spelled in UTF-8 replaces it in place with the CP932 spelling.
  std::string g = dir.Write("u.ini", "[Section]\r\nBGMﾘﾋﾟｰﾄ=1\r\n");
  WriteIni(p, "Section", "BGMﾘﾋﾟｰﾄ", "3", g);
  EXPECT_EQ(TempDir::Read(g), "[Section]\r\nBGM\xD8\xCB\xDF\xB0\xC4=3\r\n");
}

TEST(Ini, WriteCreatesMissingFileAndSectionButNotInAFolder) {
  TempDir dir;
  IniProfileStrings p;
  WriteIni(p, "Section", "Kind", "1", dir.File("new.ini"));
  EXPECT_EQ(TempDir::Read(dir.File("new.ini")), "[Section]\nKind=1\n");
  std::string f = dir.Write("nosec.ini", "[Other]\nA=1");
  WriteIni(p, "Section", "Kind", "0", f);
  EXPECT_EQ(TempDir::Read(f), "[Other]\nA=1\n[Section]\nKind=0\n");
  std::filesystem::create_directory(dir.File("folder.ini"));
  EXPECT_FALSE(p.WriteString("Section", "Kind", "0", dir.File("folder.ini")));
  EXPECT_TRUE(std::filesystem::is_directory(dir.File("folder.ini")));
}

TEST(Ini, LongNamesAreCutTo127Bytes) {
  TempDir dir;
  IniProfileStrings p;
  std::string f = dir.File("n.ini");
  WriteIni(p, std::string(200, 's'), std::string(200, 'k'), "v", f);
  EXPECT_EQ(TempDir::Read(f), "[" + std::string(127, 's') + "]\n" + std::string(127, 'k') + "=v\n");
}

}  // namespace
}  // namespace vx
