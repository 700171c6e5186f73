#include "saver/texture_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "fakes/fake_window_system.h"
#include "fakes/temp_dir.h"

namespace vx {
namespace {

namespace fs = std::filesystem;

// Run folders are real folders inside the test's own temporary folder; the decoder takes what
// carries the PNG signature.
class FakeTextureFileServices : public TextureFileServices {
 public:
  explicit FakeTextureFileServices(fs::path base) : base_(std::move(base)) {}
  bool can_make_folder = true;
  std::vector<std::string> made, released;
  int reclaims = 0;
  std::function<void(const fs::path&)> prepare;  // runs on each new folder

  std::string MakeRunFolder() override {
    if (!can_make_folder) return {};
    const fs::path folder = base_ / ("run" + std::to_string(made.size()));
    fs::create_directory(folder);
    if (prepare) prepare(folder);
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
    return width == 512 && height == 512 &&
           bytes.substr(0, 8) == std::string_view("\x89PNG\r\n\x1a\n", 8);
  }

 private:
  fs::path base_;
};

std::string FakeImage(size_t length, char fill) {
  std::string bytes(length, fill);
  bytes.replace(0, 8, std::string("\x89PNG\r\n\x1a\n", 8));
  return bytes;
}

class TextureFilesTest : public ::testing::Test {
 protected:
  TextureFilesTest() {
    fs::create_directory(dir.path() / "program");
    fs::create_directory(dir.path() / "runs");
    program = (dir.path() / "program").string();
  }
  void WritePack(const std::string& bytes) {
    std::ofstream(program + "/Vexlum_Data.ppd", std::ios::binary) << bytes;
  }
  std::vector<std::string> Messages() const {
    std::vector<std::string> out;
    for (const auto& call : windows.calls)
      if (call.rfind("MessageBox", 0) == 0) out.push_back(call);
    return out;
  }
  // Nothing but the pack may remain anywhere.
  void ExpectNothingLeft() const {
    EXPECT_TRUE(fs::is_empty(dir.path() / "runs"));
    for (const auto& entry : fs::directory_iterator(program))
      EXPECT_EQ(entry.path().filename(), "Vexlum_Data.ppd");
  }

  test::TempDir dir;
  std::string program;
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
  EXPECT_EQ(test::TempDir::Read(folder + "/Vexlum01.png"), letters);
  EXPECT_EQ(test::TempDir::Read(folder + "/Vexlum02.png"), scenery);
  // The scenery atlas is the second image; every other atlas value shows the letters.
  EXPECT_EQ(one.ImagePath(AtlasKind::kScenery), folder + "/Vexlum02.png");
  EXPECT_EQ(one.ImagePath(static_cast<AtlasKind>(-3)), folder + "/Vexlum01.png");
  one.DeleteTextureFiles();
  EXPECT_FALSE(fs::exists(folder));
  EXPECT_EQ(test::TempDir::Read(services.made[1] + "/Vexlum02.png"), scenery);
  EXPECT_TRUE(Messages().empty());
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
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0],
            "MessageBox Vexlum(ScreenSaver) | ﾌｧｲﾙ (Vexlum_Data.ppd) が見つかりません! | 48");

  const std::string cases[] = {
      (letters + scenery).substr(0, kDataPackLength - 1),  // one byte short
      std::string(kDataPackLength, '\x5a'),                // garbage
      letters + std::string(kSceneryImageLength, 'S'),     // second image does not decode
      "",                                                  // empty file
  };
  for (const std::string& pack : cases) {
    windows.calls.clear();
    WritePack(pack);
    TextureFiles files(program, windows, services);
    EXPECT_FALSE(files.ExtractTextures()) << pack.size();
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0],
              "MessageBox Vexlum(ScreenSaver) | " + std::string(kPackDamagedMessage) + " | 48");
  }
  EXPECT_TRUE(services.made.empty());
  ExpectNothingLeft();
}

TEST_F(TextureFilesTest, AFailedWriteRemovesOnlyWhatTheRunWrote) {
  WritePack(letters + scenery);
  // The second name is taken by something that is not the run's: it must stay.
  services.prepare = [](const fs::path& folder) { fs::create_directory(folder / "Vexlum02.png"); };
  TextureFiles files(program, windows, services);
  EXPECT_FALSE(files.ExtractTextures());
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find(kImagesUnwritableMessage), std::string::npos);
  ASSERT_EQ(services.made.size(), 1u);
  EXPECT_FALSE(fs::exists(services.made[0] + "/Vexlum01.png"));
  EXPECT_TRUE(fs::is_directory(services.made[0] + "/Vexlum02.png"));
  EXPECT_EQ(services.released, services.made);

  services.prepare = nullptr;
  services.can_make_folder = false;
  windows.calls.clear();
  TextureFiles nowhere(program, windows, services);
  EXPECT_FALSE(nowhere.ExtractTextures());
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find(kImagesUnwritableMessage), std::string::npos);
}

}  // namespace
}  // namespace vx
