#include "startup/ini_profile_strings.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/cp932.h"
#include "fakes/temp_dir.h"
#include "startup/settings.h"

namespace vx {
namespace {

using test::TempDir;

TEST(IniProfileStrings, ReadTrimsQuotesAndCutsLongValues) {
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

TEST(IniProfileStrings, WriteKeepsEverythingElseAndStoresJapaneseKeysInCp932) {
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

TEST(IniProfileStrings, WriteCreatesMissingFileAndSectionButNotInAFolder) {
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

TEST(IniProfileStrings, LongNamesAreCutTo127Bytes) {
  TempDir dir;
  IniProfileStrings p;
  std::string f = dir.File("n.ini");
  WriteIni(p, std::string(200, 's'), std::string(200, 'k'), "v", f);
  EXPECT_EQ(TempDir::Read(f), "[" + std::string(127, 's') + "]\n" + std::string(127, 'k') + "=v\n");
}

}  // namespace
}  // namespace vx
