#include "settings/ini_profile_strings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "fakes/temp_dir.h"
#include "settings/settings.h"

namespace vx {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

class IniProfileStringsTest : public ::testing::Test {
 protected:
  TempDir dir;
  IniProfileStrings p;
};

TEST_F(IniProfileStringsTest, ReadTrimsQuotesAndCutsLongValues) {
  const std::string f =
      dir.Write("t.ini",
                "; comment\nTop=1\n[other]\nKey=wrong\n[SECTION]\n  key  =  \"a b\"  \n"
                "key=second\nq='x'\nhalf=\"x\nlong=" +
                    std::string(5000, 'v') + "\n[Section]\nlater=1\n");
  EXPECT_EQ(ReadIni(p, "section", "KEY", f), "a b");  // first of duplicates, any case
  EXPECT_EQ(ReadIni(p, "Section", "q", f), "x");
  EXPECT_EQ(ReadIni(p, "Section", "half", f), "\"x");
  EXPECT_EQ(ReadIni(p, "Section", "long", f), std::string(255, 'v'));
  EXPECT_EQ(ReadIni(p, "Section", "long", f, kMusicPathLength), std::string(4095, 'v'));
  EXPECT_EQ(ReadIni(p, "Section", "Top", f), "");
  EXPECT_EQ(ReadIni(p, "Section", "later", f), "");  // only the first such section counts
  EXPECT_EQ(ReadIni(p, "Nope", "key", f), "");
  EXPECT_EQ(ReadIni(p, "Section", "key", dir.File("missing.ini")), "");
}

// Files edited by hand on any platform: a byte-order mark, and CR LF, LF or CR line ends.
TEST_F(IniProfileStringsTest, ReadsAndKeepsEveryLineEndAndTheByteOrderMark) {
  for (std::string eol : {"\r\n", "\n", "\r"}) {
    SCOPED_TRACE(eol.size() == 2 ? "CRLF" : eol == "\n" ? "LF" : "CR");
    const std::string f = dir.Write("e.ini", "\xEF\xBB\xBF[Section]" + eol + "Limite=5" + eol);
    EXPECT_EQ(ReadIni(p, "Section", "Limite", f), "5");
    ASSERT_TRUE(p.WriteString("Section", "Kind", "1", f));
    EXPECT_EQ(TempDir::Read(f), "\xEF\xBB\xBF[Section]" + eol + "Limite=5" + eol + "Kind=1" + eol);
  }
}

TEST_F(IniProfileStringsTest, WriteKeepsEverythingElseAndStoresJapaneseKeysInCp932) {
  std::string f =
      dir.Write("t.ini", "; keep me\n[Other]\nA=1\n\n[Section]\nLimite=5\n; note\n\n[Last]\nZ=9\n");
  WriteIni(p, "Section", "Limite", "50", f);
  WriteIni(p, "Section", "BGM区分", "2", f);
  WriteIni(p, "Section", "BGMﾌｧｲﾙ", "/music/a b.mp3", f);
  EXPECT_EQ(TempDir::Read(f),
            "; keep me\n[Other]\nA=1\n\n[Section]\nLimite=50\n; note\n"
            "BGM\x8B\xE6\x95\xAA=2\nBGM\xCC\xA7\xB2\xD9=/music/a b.mp3\n\n[Last]\nZ=9\n");
  EXPECT_EQ(ReadIni(p, "Section", "BGM区分", f), "2");

  // Rewriting a key spelled in UTF-8 replaces it in place with the CP932 spelling.
  std::string g = dir.Write("u.ini", "[Section]\r\nBGMﾘﾋﾟｰﾄ=1\r\n");
  WriteIni(p, "Section", "BGMﾘﾋﾟｰﾄ", "3", g);
  EXPECT_EQ(TempDir::Read(g), "[Section]\r\nBGM\xD8\xCB\xDF\xB0\xC4=3\r\n");
}

TEST_F(IniProfileStringsTest, WriteCreatesFileFolderAndSectionInCrLf) {
  const std::string fresh = dir.File("config/vexlum/new.ini");
  EXPECT_TRUE(p.WriteString("Section", "Kind", "1", fresh));
  EXPECT_EQ(TempDir::Read(fresh), "[Section]\r\nKind=1\r\n");
  std::string f = dir.Write("nosec.ini", "[Other]\nA=1");
  WriteIni(p, "Section", "Kind", "0", f);
  EXPECT_EQ(TempDir::Read(f), "[Other]\nA=1\n[Section]\nKind=0\n");
  WriteIni(p, std::string(200, 's'), std::string(200, 'k'), "v", dir.File("n.ini"));
  EXPECT_EQ(TempDir::Read(dir.File("n.ini")),
            "[" + std::string(127, 's') + "]\r\n" + std::string(127, 'k') + "=v\r\n");
}

// What would lose the user's file: a write must rather fail.
TEST_F(IniProfileStringsTest, WriteNeverReplacesWhatItCannotReadOrSplitsALine) {
  fs::create_directory(dir.File("folder.ini"));
  EXPECT_FALSE(p.WriteString("Section", "Kind", "0", dir.File("folder.ini")));
  EXPECT_TRUE(fs::is_directory(dir.File("folder.ini")));

  const std::string f = dir.Write("t.ini", "[Section]\nLimite=5\n");
  for (const std::string& bad :
       {std::string("a\nKind=1"), std::string("a\rb"), std::string("a\0b", 3)})
    EXPECT_FALSE(p.WriteString("Section", "BGMﾌｧｲﾙ", bad, f));
  EXPECT_EQ(TempDir::Read(f), "[Section]\nLimite=5\n");

  fs::permissions(f, fs::perms::none);
  if (!std::ifstream(f)) {  // an administrator reads it anyway
    EXPECT_FALSE(p.WriteString("Section", "Kind", "0", f));
    fs::permissions(f, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(TempDir::Read(f), "[Section]\nLimite=5\n");
  }
}

TEST_F(IniProfileStringsTest, WriteThroughALinkKeepsTheLinkAndThePermissions) {
  fs::create_directory(dir.File("real"));
  const std::string target = dir.Write("real/Vexlum.ini", "[Section]\nLimite=5\n");
  fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
  std::error_code no_links;
  fs::create_symlink("real/Vexlum.ini", dir.File("Vexlum.ini"), no_links);
  if (no_links) GTEST_SKIP() << "no symbolic links here: " << no_links.message();
  ASSERT_TRUE(p.WriteString("Section", "Kind", "1", dir.File("Vexlum.ini")));
  EXPECT_TRUE(fs::is_symlink(dir.File("Vexlum.ini")));
  EXPECT_EQ(TempDir::Read(target), "[Section]\nLimite=5\nKind=1\n");
  EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
}

}  // namespace
}  // namespace vx
