#include "saver/scene_frame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "core/d3dx_math.h"
#include "fakes/recording_device.h"
#include "fakes/scripted_random.h"

namespace vx {
namespace {

// A frame over a recording device; each drawn frame forgets the calls before it.
struct Frames {
  explicit Frames(std::string title = "")
      : frame(device, random, settings, "atlas.png", std::move(title)) {}
  void Draw() {
    device.calls.clear();
    frame.Draw();
  }
  RecordingDevice device;
  ScriptedRandom random;
  SceneSettings settings;
  SceneFrame frame;
};

TEST(SceneFrame, ViewsFromTheMovedCameraAndDrawsFarthestFirstBeyond32767Columns) {
  Frames f;
  f.frame.Scheduler().phase = SchedulerPhase::kStopped;
  Scene& scene = f.frame.GetScene();
  for (float z : {-100.0f, 100.0f, -100.0f}) {
    scene.AddColumn(f.random);
    scene.columns.back().z = z;
  }
  f.Draw();
  const auto transforms = f.device.Calls("SetTransform");
  ASSERT_EQ(transforms.size(), 1u);
  const Viewpoint& view = f.frame.GetScene().view;
  EXPECT_EQ(view.target.z, 4.0f);  // moved before the view is built from it
  D3DMatrix want;
  D3DXMatrixLookAtLH(want, view.eye, {0, 0, 4}, {0, -1, 0});
  EXPECT_EQ(0, std::memcmp(&want, &transforms[0]->matrix, sizeof want));
  // The eye behind the target: the largest z is farthest; ties in index order.
  EXPECT_EQ(f.frame.DrawnOrder(), (std::vector<int32_t>{1, 0, 2}));
  f.frame.GetCamera().SetAngle(90.0f);
  f.Draw();  // the eye in front
  EXPECT_EQ(f.frame.DrawnOrder(), (std::vector<int32_t>{0, 2, 1}));

  f.frame.GetCamera().SetAngle(270.0f);
  f.random = ScriptedRandom{0.5f};  // every column in view, all at the same depth
  while (scene.ColumnCount() < 40000) scene.AddColumn(f.random);
  for (GlyphColumn& column : scene.columns) column.z = scene.columns.back().z;
  f.Draw();
  ASSERT_EQ(f.frame.DrawnOrder().size(), 40000u);
  EXPECT_EQ(f.frame.DrawnOrder().back(), 39999);  // equal depths: index order
  EXPECT_GT(f.device.draw_count, 40000u);
}

// The title inside real frames: started by the event, drawn over the columns, until it has
// played out.
TEST(SceneFrame, TitleDrawnAfterTheColumnsUntilFinishedThenIdle) {
  Frames f("Hi");
  f.random = ScriptedRandom{0.5f};
  f.Draw();
  EXPECT_EQ(f.frame.Title().text, "Hi");
  ASSERT_EQ(f.frame.GetScene().ColumnCount(), 1);  // created, updated and drawn in its frame
  EXPECT_FALSE(f.device.Draws(28).empty());
  const auto draws = f.device.Draws();
  EXPECT_TRUE(std::is_partitioned(draws.begin(), draws.end(),
                                  [](const DeviceCall* d) { return d->stride == 28; }));
  EXPECT_EQ(f.device.calls[f.device.calls.size() - 2].name, "EndScene");
  // The row's first 2 glyphs (56 x 4 / 100), the flash with its 6 streaks, the band.
  EXPECT_EQ(f.device.Draws(32).size(), 2u + 7u + 1u);
  int frames = 1;
  for (; f.frame.Title().phase != TitlePhase::kIdle && frames < 2000; ++frames) f.Draw();
  EXPECT_EQ(f.frame.Title().FinishedCount(), 2);
  EXPECT_EQ(frames, 13 + 20 + 27 + 31 + 99 + 26);  // the letters' phases, hold 530
  f.Draw();
  EXPECT_TRUE(f.device.Draws(32).empty());
}

TEST(SceneFrame, TitleLaysOutOnTheViewportOfEachFrame) {
  Frames f("x");
  f.device.viewport.Width = 640;
  f.device.viewport.Height = 480;
  f.Draw();
  // One letter: origin = 320 - 9.5 - 19, top = 240 - 10.5.
  EXPECT_EQ(f.frame.Title().x, 291.5f);
  EXPECT_EQ(f.frame.Title().y, 229.5f);
}

}  // namespace
}  // namespace vx
