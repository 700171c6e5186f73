#include "saver/texture_files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "fakes/fake_window_system.h"
#include "fakes/temp_dir.h"

namespace vx {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using Shown = std::vector<std::string>;

// Run folders are real folders inside the test's own temporary folder; the decoder takes what
// carries the PNG signature.
struct FakeTextureFileServices : TextureFileServices {
  explicit FakeTextureFileServices(fs::path base) : base(std::move(base)) {}
  std::string MakeRunFolder() override {
    if (!can_make_folder) return {};
    const fs::path folder = base / ("run" + std::to_string(made.size()));
    fs::create_directory(folder);
    if (occupy_scenery_name) fs::create_directory(folder / "Vexlum02.png");
    made.push_back(folder.string());
    return folder.string();
  }
  void ReleaseRunFolder(const std::string& folder) override {
    released.push_back(folder);
    std::error_code ec;
    fs::remove(folder, ec);
  }
  void ReclaimAbandonedRunFolders() override { ++reclaims; }
  bool ImageDecodes(std::string_view bytes, int width, int height) override {
    return width == 512 && height == 512 && bytes.starts_with("\x89PNG\r\n\x1a\n");
  }
  bool WritePng(const RgbaImage&, const std::string&) override { return false; }

  fs::path base;
  bool can_make_folder = true;
  std::vector<std::string> made, released;
  int reclaims = 0;
  bool occupy_scenery_name = false;  // by something that is not the run's
};

std::string FakeImage(size_t length, char fill) {
  return "\x89PNG\r\n\x1a\n" + std::string(length - 8, fill);
}

class TextureFilesTest : public ::testing::Test {
 protected:
  TextureFilesTest() {
    fs::create_directory(dir.path() / "program");
    fs::create_directory(dir.path() / "runs");
  }
  void WritePack(const std::string& bytes) { dir.Write("program/Vexlum_Data.ppd", bytes); }
  // What the last steps showed, forgotten once read.
  Shown Take() { return std::exchange(windows.calls, {}); }
  static Shown Box(std::string_view text) {
    return {"MessageBox Vexlum(ScreenSaver) | " + std::string(text) + " | 48"};
  }
  // Nothing but the pack may remain anywhere.
  void ExpectNothingLeft() const {
    EXPECT_TRUE(fs::is_empty(dir.path() / "runs"));
    for (const auto& entry : fs::directory_iterator(program))
      EXPECT_EQ(entry.path().filename(), "Vexlum_Data.ppd");
  }

  TempDir dir;
  const std::string program = (dir.path() / "program").string();
  const std::string letters = FakeImage(kLettersImageLength, 'L');
  const std::string scenery = FakeImage(kSceneryImageLength, 'S');
  test::FakeWindowSystem windows;
  FakeTextureFileServices services{dir.path() / "runs"};
};

TEST_F(TextureFilesTest, EachRunCopiesBothRangesIntoItsOwnFolderAndRemovesThem) {
  WritePack(letters + scenery + "trailing bytes that are never read");
  TextureFiles one(program, windows, services);
  TextureFiles two(program, windows, services);  // a second monitor's run beside it
  ASSERT_TRUE(one.ExtractTextures());
  ASSERT_TRUE(two.ExtractTextures());
  EXPECT_EQ(services.reclaims, 2);
  ASSERT_EQ(services.made.size(), 2u);
  const std::string folder = services.made[0];
  EXPECT_EQ(TempDir::Read(folder + "/Vexlum01.png"), letters);
  EXPECT_EQ(TempDir::Read(folder + "/Vexlum02.png"), scenery);
  // The scenery atlas is the second image; every other atlas value shows the letters.
  // Compared as paths: Windows joins them with a backslash.
  EXPECT_EQ(fs::path(one.ImagePath(AtlasKind::kScenery)), fs::path(folder) / "Vexlum02.png");
  EXPECT_EQ(fs::path(one.ImagePath(static_cast<AtlasKind>(-3))), fs::path(folder) / "Vexlum01.png");
  one.DeleteTextureFiles();
  EXPECT_FALSE(fs::exists(folder));
  EXPECT_EQ(TempDir::Read(services.made[1] + "/Vexlum02.png"), scenery);
  EXPECT_TRUE(Take().empty());
  {
    // A saver that ends without its orderly clean-up still leaves nothing behind.
    TextureFiles three(program, windows, services);
    ASSERT_TRUE(three.ExtractTextures());
  }
  two.DeleteTextureFiles();
  ExpectNothingLeft();
}

TEST_F(TextureFilesTest, MissingOrDamagedPacksFailWithAMessageAndLeaveNothing) {
  TextureFiles missing(program, windows, services);
  EXPECT_FALSE(missing.ExtractTextures());
  EXPECT_EQ(Take(), Box("ﾌｧｲﾙ (Vexlum_Data.ppd) が見つかりません!"));

  for (const std::string& pack : {
           (letters + scenery).substr(0, kDataPackLength - 1),  // one byte short
           std::string(kDataPackLength, '\x5a'),                // garbage
           letters + std::string(kSceneryImageLength, 'S'),     // second image does not decode
           std::string(),
       }) {
    WritePack(pack);
    TextureFiles files(program, windows, services);
    EXPECT_FALSE(files.ExtractTextures()) << pack.size();
    EXPECT_EQ(Take(), Box(kPackDamagedMessage));
  }
  EXPECT_TRUE(services.made.empty());
  ExpectNothingLeft();
}

TEST_F(TextureFilesTest, AFailedWriteRemovesOnlyWhatTheRunWrote) {
  WritePack(letters + scenery);
  services.occupy_scenery_name = true;
  TextureFiles files(program, windows, services);
  EXPECT_FALSE(files.ExtractTextures());
  EXPECT_EQ(Take(), Box(kImagesUnwritableMessage));
  ASSERT_EQ(services.made.size(), 1u);
  EXPECT_FALSE(fs::exists(services.made[0] + "/Vexlum01.png"));
  EXPECT_TRUE(fs::is_directory(services.made[0] + "/Vexlum02.png"));
  EXPECT_EQ(services.released, services.made);

  services.can_make_folder = false;
  TextureFiles nowhere(program, windows, services);
  EXPECT_FALSE(nowhere.ExtractTextures());
  EXPECT_EQ(Take(), Box(kImagesUnwritableMessage));
}

}  // namespace
}  // namespace vx
