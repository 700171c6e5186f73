// The committed data pack and pictures, and the Linux services the saver's texture files use.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <set>

#include "fakes/fake_window_system.h"
#include "fakes/temp_dir.h"
#include "platform/linux/linux_texture_file_services.h"
#include "platform/linux/texture_image.h"
#include "saver/texture_files.h"

namespace vx {
namespace {

namespace fs = std::filesystem;

std::string Asset(const std::string& name) {
  const char* root = std::getenv("VEXLUM_SOURCE_DIR");
  return std::string(root ? root : ".") + "/assets/" + name;
}

struct Picture {
  RgbaImage image;
  uint8_t Alpha(int x, int y) const { return image.pixels[(size_t(y) * image.width + x) * 4 + 3]; }
};

Picture Decode(std::string_view bytes) {
  return {DecodeImage(std::vector<uint8_t>(bytes.begin(), bytes.end()), "asset")};
}

TEST(DataPack, HoldsTheTwoAtlasesAtTheirFixedRanges) {
  const std::string pack = test::TempDir::Read(Asset("Vexlum_Data.ppd"));
  ASSERT_EQ(pack.size(), kDataPackLength);
  EXPECT_EQ(pack.substr(0, kLettersImageLength), test::TempDir::Read(Asset("letters.png")));
  EXPECT_EQ(pack.substr(kSceneryImageOffset), test::TempDir::Read(Asset("scenery.png")));
  for (auto [offset, length] : {std::pair{kLettersImageOffset, kLettersImageLength},
                                std::pair{kSceneryImageOffset, kSceneryImageLength}}) {
    const Picture p = Decode(std::string_view(pack).substr(offset, length));
    EXPECT_EQ(p.image.width, 512);
    EXPECT_EQ(p.image.height, 512);
  }
}

// Every cell the saver samples has something in it, and a clear outer ring so that linear
// filtering never bleeds a neighbour into a quad's edge.
void ExpectCells(const Picture& atlas, int first, int last) {
  for (int cell = first; cell <= last; ++cell) {
    const int left = (cell % 10) * 50, top = (cell / 10) * 58;
    int opaque = 0;
    for (int y = 0; y < 58; ++y)
      for (int x = 0; x < 50; ++x) {
        const bool rim = x == 0 || y == 0 || x == 49 || y == 57;
        if (rim) {
          EXPECT_EQ(atlas.Alpha(left + x, top + y), 0) << "cell " << cell;
        }
        if (atlas.Alpha(left + x, top + y) > 200) ++opaque;
      }
    EXPECT_GT(opaque, 40) << "cell " << cell << " is nearly empty";
  }
}

TEST(DataPack, AtlasCellsFollowTheGrid) {
  const Picture letters = Decode(test::TempDir::Read(Asset("letters.png")));
  ExpectCells(letters, 0, 73);  // a-z, 0-9, :;<=>?@, A-Z and [\]^_
  const Picture scenery = Decode(test::TempDir::Read(Asset("scenery.png")));
  ExpectCells(scenery, 0, 55);
  // Scenery cells are all different pictures.
  std::set<std::vector<uint8_t>> seen;
  for (int cell = 0; cell < 56; ++cell) {
    std::vector<uint8_t> bytes;
    for (int y = 0; y < 58; ++y) {
      const auto* row =
          &scenery.image.pixels[(size_t((cell / 10) * 58 + y) * 512 + (cell % 10) * 50) * 4];
      bytes.insert(bytes.end(), row, row + 50 * 4);
    }
    EXPECT_TRUE(seen.insert(bytes).second) << "cell " << cell << " repeats another";
  }
}

TEST(DataPack, SmallPicturesHaveTheirSizes) {
  const std::pair<const char*, int> sizes[] = {{"button_normal.png", 64},
                                               {"button_highlight.png", 64},
                                               {"button_highlight_select.png", 64},
                                               {"button_selected.png", 64},
                                               {"button_pressed.png", 64},
                                               {"button_disable.png", 64},
                                               {"radio_on.png", 12},
                                               {"radio_off.png", 12},
                                               {"ball.png", 14},
                                               {"icon.png", 32},
                                               {"hand_cursor.png", 32}};
  for (auto [name, width] : sizes) {
    const Picture p = Decode(test::TempDir::Read(Asset(name)));
    EXPECT_EQ(p.image.width, width) << name;
    EXPECT_EQ(p.image.height, width == 64 ? 25 : width) << name;
  }
  // The cursor's hot spot (12, 10) is on the finger tip.
  EXPECT_EQ(Decode(test::TempDir::Read(Asset("hand_cursor.png"))).Alpha(12, 10), 255);
  const std::string jpeg = test::TempDir::Read(Asset("preview.jpg"));
  ASSERT_GE(jpeg.size(), 3u);
  EXPECT_EQ(jpeg.substr(0, 3), "\xff\xd8\xff");
}

TEST(LinuxTextureFileServices, RejectsWhatDoesNotDecode) {
  LinuxTextureFileServices services;
  const std::string png = test::TempDir::Read(Asset("letters.png"));
  EXPECT_TRUE(services.ImageDecodes(png));
  EXPECT_FALSE(services.ImageDecodes(png.substr(0, png.size() / 2)));
  EXPECT_FALSE(services.ImageDecodes(std::string(4096, 'x')));
  EXPECT_FALSE(services.ImageDecodes(""));
}

TEST(LinuxTextureFileServices, PrivateFolderIsForTheUserAlone) {
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

TEST(LinuxTextureFileServices, ExtractsTheRealPackAndCleansUp) {
  test::TempDir program;
  fs::copy_file(Asset("Vexlum_Data.ppd"), program.File("Vexlum_Data.ppd"));
  test::FakeWindowSystem windows;
  LinuxTextureFileServices services;
  TextureFiles files(program.path().string(), windows, services);
  ASSERT_TRUE(files.ExtractTextures());
  EXPECT_EQ(Decode(test::TempDir::Read(files.ImagePath(AtlasKind::kScenery))).image.width, 512);
  EXPECT_EQ(Decode(test::TempDir::Read(files.ImagePath(AtlasKind::kLetters))).image.width, 512);
  files.DeleteTextureFiles();
  EXPECT_EQ(std::distance(fs::directory_iterator(program.path()), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace vx
