#include "saver/scene_saver_parts.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "fakes/fake_window_system.h"
#include "fakes/recording_device.h"
#include "saver/run_seed.h"

namespace vx {
namespace {

// Screens of given sizes, each drawn through a recording device; a screen can refuse its
// device, or have it fail from a given frame on.
class FakeSaverPlatform final : public SaverPlatform {
 public:
  std::vector<std::pair<int, int>> sizes{{1280, 720}};
  int refuse_screen = -1;
  int fail_screen = -1;
  int fail_from_frame = 0;
  std::map<int, RecordingDevice*> devices;
  std::map<int, int> frames;
  std::vector<int> released;
  std::vector<DeviceRequest> requests;

  int ScreenCount() override { return static_cast<int>(sizes.size()); }
  std::unique_ptr<Device> MakeDevice(const DeviceRequest& request) override {
    requests.push_back(request);
    if (request.screen == refuse_screen) throw DeviceError("that monitor is gone");
    auto device = std::make_unique<RecordingDevice>(false);
    const auto [w, h] = sizes.at(static_cast<size_t>(request.screen));
    device->viewport = {0, 0, static_cast<uint32_t>(w), static_cast<uint32_t>(h), 0.0f, 1.0f};
    devices[request.screen] = device.get();
    return device;
  }
  void BeforeFrame(Device&, int screen) override {
    if (screen == fail_screen && frames[screen] >= fail_from_frame)
      throw DeviceError("the device cannot be reset");
    ++frames[screen];
  }
  void DeviceReleased(int screen) override {
    released.push_back(screen);
    devices.erase(screen);
  }
  uint32_t ProcessId() override { return 1; }
  double ProcessCpuMs() override { return 0; }
};

struct NoFileServices final : TextureFileServices {
  std::vector<std::string> written;
  std::string MakeRunFolder() override { return {}; }
  void ReleaseRunFolder(const std::string&) override {}
  void ReclaimAbandonedRunFolders() override {}
  bool ImageDecodes(std::string_view, int, int) override { return false; }
  bool WritePng(const RgbaImage&, const std::string& file) override {
    written.push_back(file);
    return true;
  }
};

class SceneSaverPartsTest : public ::testing::Test {
 protected:
  SceneSaverPartsTest() {
    state.mode_letter = 'S';
    state.options.seed = 7;
    state.options.title = "Vexlum";  // a title laid out on every monitor's own width
    Settings& s = state.settings;
    s.time_step = 20;
    s.glyph_height = 21;
    s.glyph_width = 18;
    s.column_limit = 100;
    s.frame_rate_cap = 40;
  }
  SceneSaverParts& Parts() {
    if (!parts)
      parts = std::make_unique<SceneSaverParts>(state, windows, platform, files, "/nowhere");
    return *parts;
  }
  int MessageBoxes() const {
    int n = 0;
    for (const std::string& call : windows.calls) n += call.starts_with("MessageBox") ? 1 : 0;
    return n;
  }
  StartupState state;
  test::FakeWindowSystem windows;
  FakeSaverPlatform platform;
  NoFileServices files;
  std::unique_ptr<SceneSaverParts> parts;
};

TEST_F(SceneSaverPartsTest, EveryMonitorGetsItsOwnSceneAtItsOwnSizeAndSeed) {
  platform.sizes = {{1280, 720}, {1280, 720}, {720, 1280}};
  state.options.screenshot = "shot.png";
  state.options.screenshot_all = true;
  SceneSaverParts& p = Parts();
  p.SeedRandom();
  ASSERT_TRUE(p.SetUpDevice());
  EXPECT_EQ(p.ScreensShown(), (std::vector<int>{0, 1, 2}));
  ASSERT_EQ(platform.requests.size(), 3u);
  for (const DeviceRequest& r : platform.requests) EXPECT_TRUE(r.readable);
  p.BeforeLoop();
  for (int i = 0; i < 30; ++i) p.DrawFrame();
  EXPECT_EQ(platform.frames, (std::map<int, int>{{0, 30}, {1, 30}, {2, 30}}));
  // The portrait monitor's title and projection work in its own shape.
  EXPECT_EQ(platform.devices.at(2)->GetViewport().Width, 720u);
  // Same seed on the primary as a single screen gets; the others differ from it and each other.
  std::set<std::vector<float>> columns;
  for (int screen = 0; screen < 3; ++screen) {
    std::vector<float> places;
    for (const GlyphColumn& c : p.FrameOf(screen)->GetScene().columns) places.push_back(c.x);
    EXPECT_FALSE(places.empty());
    columns.insert(places);
  }
  EXPECT_EQ(columns.size(), 3u);
  p.ReleaseDevice();
  EXPECT_EQ(files.written, (std::vector<std::string>{"shot.png", "shot-2.png", "shot-3.png"}));
  EXPECT_EQ(platform.released, (std::vector<int>{0, 1, 2}));
}

TEST_F(SceneSaverPartsTest, TheFirstMonitorDrawsWhatASingleScreenDraws) {
  SceneSaverParts& single = Parts();
  single.SeedRandom();
  ASSERT_TRUE(single.SetUpDevice());
  for (int i = 0; i < 200; ++i) single.DrawFrame();
  const Viewpoint alone = single.FrameOf(0)->GetScene().view;

  FakeSaverPlatform two;
  two.sizes = {{1280, 720}, {1920, 1080}};
  SceneSaverParts both(state, windows, two, files, "/nowhere");
  both.SeedRandom();
  ASSERT_TRUE(both.SetUpDevice());
  for (int i = 0; i < 200; ++i) both.DrawFrame();
  const Viewpoint first = both.FrameOf(0)->GetScene().view;
  EXPECT_EQ(first.eye.x, alone.eye.x);
  EXPECT_EQ(first.eye.z, alone.eye.z);
  const auto& a = single.FrameOf(0)->GetScene().columns;
  const auto& b = both.FrameOf(0)->GetScene().columns;
  ASSERT_EQ(a.size(), b.size());
  for (size_t i = 0; i < a.size(); ++i) EXPECT_EQ(a[i].x, b[i].x) << i;
}

TEST_F(SceneSaverPartsTest, AMonitorThatFailsIsLeftOutAndTheOthersGoOn) {
  platform.sizes = {{1280, 720}, {1280, 720}, {1280, 720}};
  platform.refuse_screen = 1;  // no device at all
  platform.fail_screen = 2;    // a device lost for good after ten frames
  platform.fail_from_frame = 10;
  SceneSaverParts& p = Parts();
  p.SeedRandom();
  ASSERT_TRUE(p.SetUpDevice());
  EXPECT_EQ(p.ScreensShown(), (std::vector<int>{0, 2}));
  EXPECT_EQ(MessageBoxes(), 0);  // a console line, not a box in the user's way
  for (int i = 0; i < 30; ++i) EXPECT_NO_THROW(p.DrawFrame());
  EXPECT_EQ(p.ScreensShown(), (std::vector<int>{0}));
  EXPECT_EQ(platform.frames[0], 30);
  EXPECT_EQ(platform.frames[2], 10);
  EXPECT_EQ(platform.devices.count(2), 0u);  // released when it failed
}

TEST_F(SceneSaverPartsTest, ThePrimaryMonitorFailingStillEndsTheSaver) {
  platform.sizes = {{1280, 720}, {1280, 720}};
  platform.fail_screen = 0;
  SceneSaverParts& p = Parts();
  p.SeedRandom();
  ASSERT_TRUE(p.SetUpDevice());
  EXPECT_THROW(p.DrawFrame(), DeviceError);

  FakeSaverPlatform refusing;
  refusing.sizes = {{1280, 720}, {1280, 720}};
  refusing.refuse_screen = 0;
  SceneSaverParts none(state, windows, refusing, files, "/nowhere");
  none.SeedRandom();
  EXPECT_FALSE(none.SetUpDevice());
  ASSERT_EQ(MessageBoxes(), 1);
  EXPECT_NE(windows.calls.back().find("that monitor is gone"), std::string::npos);
  EXPECT_EQ(refusing.requests.size(), 1u) << "no device for the others without a primary";
}

TEST(ScreenNaming, ScreenshotFilesAndSeedsOfFurtherMonitors) {
  EXPECT_EQ(ScreenshotFileOf("shot.png", 0), "shot.png");
  EXPECT_EQ(ScreenshotFileOf("out/shot.png", 1), "out/shot-2.png");
  EXPECT_EQ(ScreenshotFileOf("a.b/shot", 2), "a.b/shot-3");
  EXPECT_EQ(ScreenshotFileOf(".hidden", 1), ".hidden-2");
  EXPECT_EQ(ScreenSeed(7, 0), 7u);
  for (uint32_t primary : {0u, 7u, 0xFFFFFFFFu}) {
    std::set<uint32_t> seeds;
    for (int screen = 0; screen < 8; ++screen) seeds.insert(ScreenSeed(primary, screen));
    EXPECT_EQ(seeds.size(), 8u) << primary;
  }
}

}  // namespace
}  // namespace vx
