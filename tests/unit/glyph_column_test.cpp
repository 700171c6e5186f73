#include "scene/glyph_column.h"

#include <gtest/gtest.h>

#include <tuple>

#include "fakes/scene_harness.h"

namespace vx {
namespace {

TEST(GlyphColumn, ConstructionDrawsGrowthTimeTopXThenZ) {
  ScriptedRandom rnd{0.5f, 0.4f, 0.25f, 0.75f};
  GlyphColumn column(Viewpoint{{10, 0, 0}, {0, 0, 50}, 400}, rnd);
  // (0.5 x 10 + 5) x 60; 0.4 x 250 - 500; 10 + 300 - 150, centred on the eye; 50 + 600 x 0.75.
  EXPECT_EQ(std::make_tuple(column.grow_clock.length, column.y, column.x, column.z),
            std::make_tuple(600, -400.0f, 160.0f, 500.0f));
}

TEST(GlyphColumn, GrowthCountRoundsHalfToEvenAndStacksGlyphsDownward) {
  SceneHarness h;
  h.random = ScriptedRandom{0.5f, 0.4f, 0.5f, 0.5f};
  GlyphColumn column(h.view, h.random);
  column.grow_clock.length = 400;
  column.Update(h.view, h.settings, h.random);  // progress 5: 60 / 100 x 5 = 3 glyphs
  EXPECT_EQ(std::make_tuple(column.Progress(), column.glyphs_started), std::make_tuple(5.0f, 3));
  ASSERT_EQ(column.Glyphs().size(), 3u);
  // Each glyph 21 - 21 / 5.8 below the last, summed in doubles and stored as floats.
  const float ys[] = {-400.0f, -382.620697f, -365.241394f};
  for (size_t i = 0; i < 3; ++i) {
    const Glyph& g = column.Glyphs()[i];
    EXPECT_EQ(std::make_tuple(g.x, g.y, g.z), std::make_tuple(column.x, ys[i], column.z)) << i;
  }
  EXPECT_EQ(column.y, -347.862091f);

  auto grown = [&](int32_t time_step) {
    h.settings.time_step = time_step;
    GlyphColumn c(h.view, h.random);
    c.glyph_target = 50;
    c.grow_clock.length = 400;
    c.Update(h.view, h.settings, h.random);
    return c.Glyphs().size();
  };
  EXPECT_EQ(grown(20), 2u);     // 2.5 glyphs due -> 2
  EXPECT_EQ(grown(28), 4u);     // 3.5 glyphs due -> 4
  EXPECT_EQ(grown(1000), 50u);  // past its time: every glyph at once, and no more
}

TEST(GlyphColumn, FadesWithTheHorizontalDistanceAndIsNotDrawnAtZeroOrBelow) {
  SceneHarness h;
  h.random = ScriptedRandom{0.5f};
  auto column_at = [&](float dz, float dx) {
    GlyphColumn column(h.view, h.random);
    std::tie(column.x, column.z, column.grow_clock.length) = std::make_tuple(0.0f, 100.0f, 20);
    column.Update(Viewpoint{{-dx, 0, 100 - dz}, {}, 400}, h.settings, h.random);
    return column;
  };
  EXPECT_EQ(column_at(200, 0).distance_fade, 100);  // closer than 500 is capped
  EXPECT_EQ(column_at(600, 800).distance_fade, 50);
  EXPECT_EQ(column_at(1005, 0).distance_fade, 50);  // 49.5 -> 50
  EXPECT_EQ(column_at(1015, 0).distance_fade, 48);  // 48.5 -> 48
  EXPECT_EQ(column_at(2000, 0).distance_fade, -50);
  GlyphColumn column = column_at(1495, 0);
  EXPECT_EQ(column.distance_fade, 0);  // 0.5 -> 0
  column.Draw(h.glyph_canvas);
  EXPECT_EQ(h.device.draw_count, 0u);
  column = column_at(1485, 0);
  EXPECT_EQ(column.distance_fade, 2);  // 1.5 -> 2
  column.Draw(h.glyph_canvas);
  EXPECT_GT(h.device.draw_count, 0u);
}

TEST(GlyphColumn, RestartsOnlyWhenEveryGlyphHasFinished) {
  const Viewpoint view{{-70, 0, 600}, {30, 0, 1000}, 400};
  // Growth 600, y, x, z; the two glyphs' hold, cell and flicker wait (no draw while they
  // cross-fade); then the new cycle's y, x, z, growth 837.5 and target 42.5.
  ScriptedRandom rnd{0.5f, 0.4f, 0.25f, 0.75f, 0.5f,  0.5f,      0.5f,   0.5f,
                     0.5f, 0.5f, 0.5f,  0.25f, 0.75f, 0.046875f, 0.0625f};
  GlyphColumn column(view, rnd);
  column.glyph_target = 2;
  column.grow_clock.length = 20;  // both glyphs in the first call
  SceneSettings settings;
  column.Update(view, settings, rnd);
  column.glyphs_finished = 1;
  column.Update(view, settings, rnd);
  ASSERT_EQ(column.Glyphs().size(), 2u);
  column.glyphs_finished = 2;
  column.Update(view, settings, rnd);
  EXPECT_EQ(rnd.Draws(), 15);
  EXPECT_TRUE(column.Glyphs().empty());
  EXPECT_EQ(std::make_tuple(column.glyphs_finished, column.glyphs_started, column.Progress()),
            std::make_tuple(0, 0, 0.0f));
  // Centred on the target, not the eye; the growth and the target round half to even.
  EXPECT_EQ(std::make_tuple(column.y, column.x, column.z),
            std::make_tuple(-625.0f, 180.0f, 1450.0f));
  EXPECT_EQ(std::make_tuple(column.grow_clock.length, column.glyph_target),
            std::make_tuple(838, 42));
  // The next cycle grows from the start again: 42 x 20 / 838 rounds to one glyph.
  column.Update(view, settings, rnd);
  EXPECT_EQ(column.Glyphs().size(), 1u);
}

}  // namespace
}  // namespace vx
