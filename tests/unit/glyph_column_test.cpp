#include "scene/glyph_column.h"

#include <gtest/gtest.h>

#include <cmath>

#include "fakes/scene_harness.h"

namespace vx {
namespace {

using Harness = testing::SceneHarness<>;

// Keeps every value handed out, so a test can tell which draw fed which member.
class RecordingRandom final : public Random {
 public:
  float Next() override {
    values.push_back(inner_.Next());
    return values.back();
  }
  void Seed(uint32_t s) override { inner_.Seed(s); }
  std::vector<float> values;

 private:
  MersenneRandom inner_{11};
};

TEST(GlyphColumn, ConstructionDrawsGrowthTimeTopXThenZ) {
  Viewpoint view;
  view.eye.x = 10;
  view.target.z = 50;
  view.camera_distance = 400;
  ScriptedRandom rnd{0.5f, 0.4f, 0.25f, 0.75f};
  GlyphColumn column(view, rnd);
  EXPECT_EQ(column.grow_clock.length, 600);  // (0.5 x 10 + 5) x 60
  EXPECT_EQ(column.y, -400.0f);
  EXPECT_EQ(column.x, 160.0f);  // 10 + 300 - 150
  EXPECT_EQ(column.z, 500.0f);  // 50 + 600 x 0.75
  EXPECT_EQ(column.glyph_target, 60);
}

TEST(GlyphColumn, GrowthCountRoundsHalfToEvenAndStacksGlyphsDownward) {
  Harness h;
  h.random = ScriptedRandom{0.5f, 0.4f, 0.5f, 0.5f};
  GlyphColumn column(h.scene.view, h.random);
  column.grow_clock.length = 400;
  column.Update(h.scene.view, h.settings, h.random);  // progress 5: 60 / 100 x 5 = 3 glyphs
  EXPECT_EQ(column.Progress(), 5.0f);
  ASSERT_EQ(column.Glyphs().size(), 3u);
  EXPECT_EQ(column.glyphs_started, 3);
  const double step = 21.0 - 21.0 / 5.8;
  float y = -400.0f;
  for (const Glyph& g : column.Glyphs()) {
    EXPECT_EQ(g.y, y);
    EXPECT_EQ(g.x, column.x);
    EXPECT_EQ(g.z, column.z);
    y = static_cast<float>(y + step);
  }
  EXPECT_EQ(column.y, y);

  auto grown = [&](int32_t glyphs, int32_t time_step) {
    h.settings.time_step = time_step;
    GlyphColumn c(h.scene.view, h.random);
    c.glyph_target = glyphs;
    c.grow_clock.length = 400;
    c.Update(h.scene.view, h.settings, h.random);
    return c.Glyphs().size();
  };
  EXPECT_EQ(grown(50, 20), 2u);    // 2.5 glyphs due -> 2
  EXPECT_EQ(grown(50, 28), 4u);    // 3.5 glyphs due -> 4
  EXPECT_EQ(grown(50, 400), 50u);  // time is up: every remaining glyph at once
  EXPECT_EQ(grown(50, 1000), 50u);
}

TEST(GlyphColumn, DistanceFadeAndFarColumnsAreNotDrawn) {
  Harness h;
  h.random = ScriptedRandom{0.5f};
  auto fade = [&](float dz, float dx) {
    GlyphColumn column(h.scene.view, h.random);
    column.x = 0;
    column.z = 100;
    column.grow_clock.length = 20;
    Viewpoint view;
    view.eye = {-dx, 0, 100 - dz};
    column.Update(view, h.settings, h.random);
    return column.distance_fade;
  };
  EXPECT_EQ(fade(500, 0), 100);
  EXPECT_EQ(fade(300, 400), 100);  // horizontal distance, both axes
  EXPECT_EQ(fade(200, 0), 100);    // closer than 500 is capped
  EXPECT_EQ(fade(1000, 0), 50);
  EXPECT_EQ(fade(1005, 0), 50);  // 49.5 -> 50
  EXPECT_EQ(fade(1015, 0), 48);  // 48.5 -> 48
  EXPECT_EQ(fade(1500, 0), 0);
  EXPECT_EQ(fade(2000, 0), -50);

  // Columns at 0 or below are advanced but not drawn.
  GlyphColumn column(h.scene.view, h.random);
  column.x = 0;
  column.z = 0;
  column.grow_clock.length = 20;
  Viewpoint far;
  far.eye = {0, 0, -1500};
  column.Update(far, h.settings, h.random);
  column.Draw(h.glyph_canvas);
  EXPECT_EQ(h.device.draw_count, 0u);
  column.Update(h.scene.view, h.settings, h.random);  // the eye back at -400
  column.Draw(h.glyph_canvas);
  EXPECT_GT(h.device.draw_count, 0u);
}

TEST(GlyphColumn, RestartsWhenEveryGlyphHasFinished) {
  testing::SceneHarness<RecordingRandom> h;
  h.LookFrom({0, 0, 600}, {0, 0, 1000});
  h.scene.view.camera_distance = 400;
  GlyphColumn column(h.scene.view, h.random);
  column.grow_clock.length = 20;  // all glyphs in the first call
  int calls = 0;
  bool restarted = false;
  while (!restarted && calls < 1000) {
    const size_t before = column.Glyphs().size();
    column.Update(h.scene.view, h.settings, h.random);
    ++calls;
    restarted = before == 60 && column.Glyphs().empty();
    if (!restarted) {
      int32_t done = 0;
      for (const Glyph& g : column.Glyphs()) done += g.phase == GlyphPhase::kDone;
      ASSERT_EQ(done, column.glyphs_finished);
    }
  }
  ASSERT_TRUE(restarted);
  // The last five draws of that call place and size the new cycle, in this order.
  const auto& v = h.random.values;
  const float* r = &v[v.size() - 5];
  EXPECT_EQ(column.y, r[0] * 250.0f - 750.0f);
  EXPECT_EQ(column.x, 300.0f - r[1] * 600.0f);  // centred on the target, not the eye
  EXPECT_EQ(column.z, 1000.0f + 600.0f * r[2]);
  EXPECT_EQ(column.grow_clock.length, std::lround(r[3] * 800.0 + 800.0));
  EXPECT_EQ(column.glyph_target, std::lround(r[4] * 40.0 + 40.0));
  EXPECT_EQ(column.glyphs_finished, 0);
  EXPECT_EQ(column.glyphs_started, 0);
  EXPECT_EQ(column.grow_clock.elapsed, 0);
  column.Draw(h.glyph_canvas);
  EXPECT_EQ(h.device.draw_count, 0u);
  // The next cycle grows again.
  column.Update(h.scene.view, h.settings, h.random);
  EXPECT_FALSE(column.Glyphs().empty());
}

}  // namespace
}  // namespace vx
