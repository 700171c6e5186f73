#include "saver/texture_files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "fakes/fake_window_system.h"
#include "fakes/temp_dir.h"

namespace vx {
namespace {

namespace fs = std::filesystem;

// Stands in for the platform: the folder check and the decoder are scripted; private
// folders are real folders inside the test's own temporary folder.
class FakeTextureFileServices : public TextureFileServices {
 public:
  explicit FakeTextureFileServices(fs::path base) : base_(std::move(base)) {}
  bool writable = true;
  bool can_make_folder = true;
  std::vector<std::string> made;

  bool FolderIsWritable(const std::string&) override { return writable; }
  std::string MakePrivateFolder() override {
    if (!can_make_folder) return {};
    auto folder = base_ / ("private" + std::to_string(made.size()));
    fs::create_directory(folder);
    made.push_back(folder.string());
    return folder.string();
  }
  // Decodes what carries the PNG signature.
  bool ImageDecodes(std::string_view bytes) override {
    return bytes.substr(0, 8) == std::string_view("\x89PNG\r\n\x1a\n", 8);
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
    fs::create_directory(dir.path() / "tmp");
    program = (dir.path() / "program").string();
    letters = FakeImage(kLettersImageLength, 'L');
    scenery = FakeImage(kSceneryImageLength, 'S');
  }
  void WritePack(const std::string& bytes) {
    std::ofstream(program + "/Vexlum_Data.ppd", std::ios::binary) << bytes;
  }
  std::string Read(const std::string& name) const {
    return test::TempDir::Read(program + "/" + name);
  }
  bool Exists(const std::string& name) const { return fs::exists(program + "/" + name); }
  std::vector<std::string> Messages() const {
    std::vector<std::string> out;
    for (const auto& call : windows.calls)
      if (call.rfind("MessageBox", 0) == 0) out.push_back(call);
    return out;
  }

  test::TempDir dir;
  std::string program;
  std::string letters, scenery;
  test::FakeWindowSystem windows;
  FakeTextureFileServices services{dir.path() / "tmp"};
};

TEST_F(TextureFilesTest, CopiesBothRangesAndRemovesThemAtTheEnd) {
  WritePack(letters + scenery + "trailing bytes that are never read");
  {
    TextureFiles files(program, windows, services);
    ASSERT_TRUE(files.ExtractTextures());
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Read("Vexlum01.png"), letters);
    EXPECT_EQ(Read("Vexlum02.png"), scenery);
    // The scenery atlas is the second image; every other atlas value shows the letters.
    EXPECT_EQ(files.ImagePath(AtlasKind::kScenery), program + "/Vexlum02.png");
    EXPECT_EQ(files.ImagePath(AtlasKind::kLetters), program + "/Vexlum01.png");
    EXPECT_EQ(files.ImagePath(static_cast<AtlasKind>(-3)), program + "/Vexlum01.png");
    files.DeleteTextureFiles();
    EXPECT_FALSE(Exists("Vexlum01.png"));
    EXPECT_FALSE(Exists("Vexlum02.png"));
    EXPECT_TRUE(Exists("Vexlum_Data.ppd"));
    EXPECT_TRUE(services.made.empty());
  }
  // A saver that ends without its orderly clean-up still leaves nothing behind.
  {
    TextureFiles files(program, windows, services);
    ASSERT_TRUE(files.ExtractTextures());
  }
  EXPECT_FALSE(Exists("Vexlum01.png"));
  EXPECT_FALSE(Exists("Vexlum02.png"));
}

TEST_F(TextureFilesTest, LeftOverFilesAreReplacedWithoutStaleTails) {
  WritePack(letters + scenery);
  std::ofstream(program + "/Vexlum01.png", std::ios::binary) << std::string(300000, 'Z');
  std::ofstream(program + "/Vexlum02.png", std::ios::binary) << std::string(700000, 'Z');
  TextureFiles files(program, windows, services);
  ASSERT_TRUE(files.ExtractTextures());
  EXPECT_EQ(fs::file_size(program + "/Vexlum01.png"), kLettersImageLength);
  EXPECT_EQ(fs::file_size(program + "/Vexlum02.png"), kSceneryImageLength);
  EXPECT_EQ(Read("Vexlum01.png"), letters);
}

TEST_F(TextureFilesTest, MissingPackShowsTheMessageAndCreatesNoFile) {
  TextureFiles files(program, windows, services);
  EXPECT_FALSE(files.ExtractTextures());
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0],
            "MessageBox Vexlum(ScreenSaver) | ﾌｧｲﾙ (Vexlum_Data.ppd) が見つかりません! | 48");
  EXPECT_TRUE(fs::is_empty(program));
  EXPECT_TRUE(services.made.empty());
}

TEST_F(TextureFilesTest, DamagedPacksFailWithAMessageAndLeaveNothing) {
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
    EXPECT_FALSE(Exists("Vexlum01.png"));
    EXPECT_FALSE(Exists("Vexlum02.png"));
  }
}

TEST_F(TextureFilesTest, ReadOnlyProgramFolderUsesAPrivateFolderRemovedAtTheEnd) {
  WritePack(letters + scenery);
  services.writable = false;
  TextureFiles files(program, windows, services);
  ASSERT_TRUE(files.ExtractTextures());
  ASSERT_EQ(services.made.size(), 1u);
  const std::string folder = services.made[0];
  EXPECT_EQ(files.ImagePath(AtlasKind::kScenery), folder + "/Vexlum02.png");
  EXPECT_EQ(test::TempDir::Read(folder + "/Vexlum01.png"), letters);
  EXPECT_FALSE(Exists("Vexlum01.png"));
  files.DeleteTextureFiles();
  EXPECT_FALSE(fs::exists(folder));
}

TEST_F(TextureFilesTest, AFailedWriteInTheProgramFolderFallsBackToAPrivateFolder) {
  WritePack(letters + scenery);
  // The folder looks writable, but the second name is taken by a folder.
  fs::create_directory(program + "/Vexlum02.png");
  TextureFiles files(program, windows, services);
  ASSERT_TRUE(files.ExtractTextures());
  EXPECT_FALSE(Exists("Vexlum01.png"));  // the half-done copy did not stay behind
  ASSERT_EQ(services.made.size(), 1u);
  EXPECT_EQ(test::TempDir::Read(services.made[0] + "/Vexlum02.png"), scenery);
  files.DeleteTextureFiles();
  EXPECT_TRUE(fs::is_directory(program + "/Vexlum02.png"));  // not ours: left alone
}

TEST_F(TextureFilesTest, NowhereToWriteFailsWithAMessage) {
  WritePack(letters + scenery);
  services.writable = false;
  services.can_make_folder = false;
  TextureFiles files(program, windows, services);
  EXPECT_FALSE(files.ExtractTextures());
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find(kImagesUnwritableMessage), std::string::npos);
}

}  // namespace
}  // namespace vx
