// The Linux services the saver's texture files use, on the committed data pack.
#include "platform/linux/linux_texture_file_services.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <set>

#include "fakes/fake_window_system.h"
#include "fakes/temp_dir.h"
#include "platform/test_images.h"
#include "ports/device.h"
#include "saver/texture_files.h"

namespace vx {
namespace {

namespace fs = std::filesystem;

std::string Asset(const std::string& name) {
  const char* root = std::getenv("VEXLUM_SOURCE_DIR");
  return std::string(root ? root : ".") + "/assets/" + name;
}

// Every cell the saver samples (50 x 58 pixels, ten a row) holds its own picture inside a clear
// rim, so that linear filtering never bleeds a neighbour into a quad's edge.
void ExpectCells(const std::string& png, int cells) {
  const RgbaImage atlas = test::Decode(png);
  ASSERT_EQ(atlas.width, 512);
  ASSERT_EQ(atlas.height, 512);
  std::set<std::vector<uint32_t>> pictures;
  for (int cell = 0; cell < cells; ++cell) {
    std::vector<uint32_t> picture;
    int rim = 0, opaque = 0;
    for (int y = 0; y < 58; ++y)
      for (int x = 0; x < 50; ++x) {
        picture.push_back(test::At(atlas, cell % 10 * 50 + x, cell / 10 * 58 + y));
        const uint32_t alpha = picture.back() & 0xFF;
        if (x == 0 || y == 0 || x == 49 || y == 57) rim += alpha;
        if (alpha > 200) ++opaque;
      }
    EXPECT_EQ(rim, 0) << "cell " << cell;
    EXPECT_GT(opaque, 40) << "cell " << cell << " is nearly empty";
    EXPECT_TRUE(pictures.insert(picture).second) << "cell " << cell << " repeats another";
  }
}

TEST(LinuxTextureFileServices, ExtractsTheCommittedPackIntoBothAtlasesAndCleansUp) {
  test::TempDir program;
  const std::string pack = program.File(std::string(kDataPackName));
  fs::copy_file(Asset("Vexlum_Data.ppd"), pack);
  ASSERT_EQ(fs::file_size(pack), kDataPackLength);  // extraction never reads past it
  test::FakeWindowSystem windows;
  LinuxTextureFileServices services;
  TextureFiles files(program.path().string(), windows, services);
  ASSERT_TRUE(files.ExtractTextures());
  const std::string letters = test::TempDir::Read(files.ImagePath(AtlasKind::kLetters));
  const std::string scenery = test::TempDir::Read(files.ImagePath(AtlasKind::kScenery));
  EXPECT_EQ(letters, test::TempDir::Read(Asset("letters.png")));
  EXPECT_EQ(scenery, test::TempDir::Read(Asset("scenery.png")));
  ExpectCells(letters, 74);  // a-z, 0-9, :;<=>?@, A-Z and [\]^_
  ExpectCells(scenery, 56);
  files.DeleteTextureFiles();
  EXPECT_EQ(std::distance(fs::directory_iterator(program.path()), fs::directory_iterator()), 1);
}

TEST(LinuxTextureFileServices, ImageDecodesTakesOnlyWholeImagesOfTheSizeAsked) {
  LinuxTextureFileServices services;
  const std::string png = test::TempDir::Read(Asset("letters.png"));
  EXPECT_TRUE(services.ImageDecodes(png, 512, 512));
  EXPECT_FALSE(services.ImageDecodes(png, 256, 512));
  EXPECT_FALSE(services.ImageDecodes(png.substr(0, png.size() / 2), 512, 512));
  EXPECT_FALSE(services.ImageDecodes(std::string(4096, 'x'), 512, 512));
  EXPECT_FALSE(services.ImageDecodes("", 512, 512));
  // The high byte of the first data chunk's length: damaged, it once crashed the decoder's
  // error path.
  for (int value : {0x80, 0xC3, 0xFF}) {
    std::string damaged = png;
    damaged[33] = static_cast<char>(value);
    EXPECT_FALSE(services.ImageDecodes(damaged, 512, 512)) << value;
  }
  // A header that claims a huge picture is refused without decoding it.
  std::string huge = test::Png(test::Solid(8, 8, 0xFFFFFFFF));
  huge.replace(16, 8, std::string("\0\0\x40\0\0\0\x40\0", 8));  // 16384 x 16384
  EXPECT_FALSE(services.ImageDecodes(huge, 512, 512));
  EXPECT_THROW(test::Decode(huge), DeviceError);
}

TEST(LinuxTextureFileServices, RunFoldersArePrivateAndOnlyDeadRunsAreReclaimed) {
  test::TempDir base;
  LinuxTextureFileServices live(base.path().string()), next(base.path().string());
  const std::string a = live.MakeRunFolder();
  const std::string b = live.MakeRunFolder();
  ASSERT_FALSE(a.empty());
  EXPECT_NE(a, b);
  EXPECT_EQ(fs::path(a).parent_path(), base.path());
  struct stat st {};
  ASSERT_EQ(stat(a.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);

  // A run killed after it extracted: its lock file is there but nobody holds it.
  const fs::path dead = base.path() / "vexlum-dead01";
  fs::create_directory(dead);
  for (const char* name : {"run.lock", "Vexlum01.png", "Vexlum02.png"})
    base.Write("vexlum-dead01/" + std::string(name), "x");
  // One that holds a file the saver never makes: the images go, the folder stays.
  const fs::path foreign = base.path() / "vexlum-other1";
  fs::create_directory(foreign);
  base.Write("vexlum-other1/run.lock", "");
  base.Write("vexlum-other1/notes.txt", "mine");
  // One still being set up (no lock yet), and one a crash left like that long ago.
  fs::create_directory(base.path() / "vexlum-fresh1");
  const fs::path stale = base.path() / "vexlum-stale1";
  fs::create_directory(stale);
  fs::last_write_time(stale, fs::file_time_type::clock::now() - std::chrono::hours(1));
  fs::create_directory(base.path() / "unrelated");

  next.ReclaimAbandonedRunFolders();
  EXPECT_TRUE(fs::exists(fs::path(a) / "run.lock"));  // alive: held by `live`
  EXPECT_TRUE(fs::exists(b));
  EXPECT_FALSE(fs::exists(dead));
  EXPECT_TRUE(fs::exists(foreign / "notes.txt"));
  EXPECT_FALSE(fs::exists(foreign / "run.lock"));
  EXPECT_TRUE(fs::exists(base.path() / "vexlum-fresh1"));
  EXPECT_FALSE(fs::exists(stale));
  EXPECT_TRUE(fs::exists(base.path() / "unrelated"));

  live.ReleaseRunFolder(a);
  EXPECT_FALSE(fs::exists(a));
}

}  // namespace
}  // namespace vx
