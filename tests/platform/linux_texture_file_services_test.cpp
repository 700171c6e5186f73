// The Linux services the saver's texture files use, on the committed data pack.
#include "platform/linux/linux_texture_file_services.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <set>

#include "fakes/fake_window_system.h"
#include "fakes/temp_dir.h"
#include "platform/test_images.h"
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

TEST(LinuxTextureFileServices, ImageDecodesRejectsATruncatedImageAndNonImages) {
  LinuxTextureFileServices services;
  const std::string png = test::TempDir::Read(Asset("letters.png"));
  EXPECT_FALSE(services.ImageDecodes(png.substr(0, png.size() / 2)));
  EXPECT_FALSE(services.ImageDecodes(std::string(4096, 'x')));
  EXPECT_FALSE(services.ImageDecodes(""));
}

TEST(LinuxTextureFileServices, PrivateFoldersAreNewUnderTmpdirAndForTheUserAlone) {
  test::TempDir base;
  const char* old = std::getenv("TMPDIR");
  const std::string saved = old ? old : "";
  setenv("TMPDIR", base.path().c_str(), 1);
  LinuxTextureFileServices services;
  const std::string a = services.MakePrivateFolder();
  const std::string b = services.MakePrivateFolder();
  old ? setenv("TMPDIR", saved.c_str(), 1) : unsetenv("TMPDIR");
  ASSERT_FALSE(a.empty());
  EXPECT_NE(a, b);
  EXPECT_EQ(fs::path(a).parent_path(), base.path());
  struct stat st {};
  ASSERT_EQ(stat(a.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
}

}  // namespace
}  // namespace vx
