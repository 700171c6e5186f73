// The run folders and image checks the saver's texture files use on Linux, on the committed
// data pack.
#include "platform/common/run_folders.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <tuple>

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

TEST(RunFolders, ExtractsTheCommittedPackIntoBothAtlasesAndCleansUp) {
  test::TempDir program, runs;
  const std::string pack = program.File(std::string(kDataPackName));
  fs::copy_file(Asset("Vexlum_Data.ppd"), pack);
  ASSERT_EQ(fs::file_size(pack), kDataPackLength);  // extraction never reads past it
  test::FakeWindowSystem windows;
  RunFolders services(runs.path().string());
  TextureFiles files(program.path().string(), windows, services);
  ASSERT_TRUE(files.ExtractTextures());
  // 74 letters (a-z, 0-9, :;<=>?@, A-Z and [\]^_) and 56 pictures.
  for (auto [kind, name, cells] : {std::tuple{AtlasKind::kLetters, "letters.png", 74},
                                   {AtlasKind::kScenery, "scenery.png", 56}}) {
    const std::string png = test::TempDir::Read(files.ImagePath(kind));
    EXPECT_EQ(png, test::TempDir::Read(Asset(name)));
    // Every cell the saver samples (50 x 58 pixels, ten a row) holds its own picture inside a
    // clear rim, so that linear filtering never bleeds a neighbour into a quad's edge.
    const RgbaImage atlas = DecodeImage({png.begin(), png.end()}, name);
    ASSERT_EQ(std::pair(atlas.width, atlas.height), std::pair(512, 512));
    std::set<std::vector<uint32_t>> pictures;
    for (int cell = 0; cell < cells; ++cell) {
      std::vector<uint32_t> picture;
      uint32_t rim = 0, opaque = 0;
      for (int y = 0; y < 58; ++y)
        for (int x = 0; x < 50; ++x) {
          picture.push_back(test::At(atlas, cell % 10 * 50 + x, cell / 10 * 58 + y));
          rim += (x % 49 == 0 || y % 57 == 0) * (picture.back() & 0xFF);
          opaque += (picture.back() & 0xFF) > 200;
        }
      SCOPED_TRACE(std::string(name) + " cell " + std::to_string(cell));
      EXPECT_EQ(rim, 0u);
      EXPECT_GT(opaque, 40u) << "nearly empty";
      EXPECT_TRUE(pictures.insert(picture).second) << "repeats another";
    }
  }
  files.DeleteTextureFiles();
  EXPECT_TRUE(fs::is_empty(runs.path()));
  EXPECT_EQ(std::distance(fs::directory_iterator(program.path()), fs::directory_iterator()), 1);
}

TEST(RunFolders, ImageDecodesTakesOnlyWholeImagesOfTheSizeAsked) {
  RunFolders services;
  const std::string png = test::TempDir::Read(Asset("letters.png"));
  EXPECT_TRUE(services.ImageDecodes(png, 512, 512));
  EXPECT_FALSE(services.ImageDecodes(png, 256, 512));
  // A header that claims a huge picture is refused without decoding it.
  std::string huge = test::Png(test::Solid(8, 8, 0xFFFFFFFF));
  huge.replace(16, 8, std::string("\0\0\x40\0\0\0\x40\0", 8));  // 16384 x 16384
  EXPECT_THROW(DecodeImage({huge.begin(), huge.end()}, "huge"), DeviceError);
  std::vector<std::string> refused = {png.substr(0, png.size() / 2), std::string(4096, 'x'), "",
                                      huge};
  // The high byte of the first data chunk's length: damaged, it once crashed the decoder's
  // error path.
  for (int value : {0x80, 0xC3, 0xFF}) refused.emplace_back(png)[33] = static_cast<char>(value);
  for (size_t i = 0; i < refused.size(); ++i)
    EXPECT_FALSE(services.ImageDecodes(refused[i], 512, 512)) << i;
}

TEST(RunFolders, RunFoldersArePrivateAndOnlyDeadRunsAreReclaimed) {
  test::TempDir base;
  RunFolders live(base.path().string()), next(base.path().string());
  const std::string a = live.MakeRunFolder(), b = live.MakeRunFolder();
  ASSERT_FALSE(a.empty());
  EXPECT_NE(a, b);
  EXPECT_EQ(fs::path(a).parent_path(), base.path());
  struct stat st {};
  ASSERT_EQ(stat(a.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);

  // dead01: a run killed after it extracted, its lock file there but held by nobody. other1:
  // one that holds a file the saver never makes. fresh1: one still being set up (no lock yet);
  // stale1: one a crash left like that long ago. link01: a link to someone's folder.
  for (const char* folder : {"vexlum-dead01", "vexlum-other1", "vexlum-fresh1", "vexlum-stale1",
                             "unrelated", "elsewhere"})
    fs::create_directory(base.path() / folder);
  for (const char* file :
       {"vexlum-dead01/run.lock", "vexlum-dead01/Vexlum01.png", "vexlum-dead01/Vexlum02.png",
        "vexlum-other1/run.lock", "vexlum-other1/notes.txt", "elsewhere/run.lock",
        "elsewhere/Vexlum01.png"})
    base.Write(file, "x");
  for (const char* old : {"vexlum-stale1", "unrelated"})
    fs::last_write_time(base.path() / old,
                        fs::file_time_type::clock::now() - std::chrono::hours(1));
  fs::create_directory_symlink(base.path() / "elsewhere", base.path() / "vexlum-link01");

  next.ReclaimAbandonedRunFolders();
  for (const char* kept : {"vexlum-other1/notes.txt", "vexlum-fresh1", "unrelated",
                           "elsewhere/run.lock", "elsewhere/Vexlum01.png"})
    EXPECT_TRUE(fs::exists(base.path() / kept)) << kept;
  for (const char* gone : {"vexlum-dead01", "vexlum-other1/run.lock", "vexlum-stale1"})
    EXPECT_FALSE(fs::exists(base.path() / gone)) << gone;
  EXPECT_TRUE(fs::exists(fs::path(a) / "run.lock"));  // alive: held by `live`
  EXPECT_TRUE(fs::exists(b));
  live.ReleaseRunFolder(a);
  EXPECT_FALSE(fs::exists(a));
}

}  // namespace
}  // namespace vx
