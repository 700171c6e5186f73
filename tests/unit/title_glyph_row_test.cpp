#include "title/title_glyph_row.h"

#include <gtest/gtest.h>

#include "fakes/scene_harness.h"

namespace vx {
namespace {

TEST(TitleGlyphRow, OneLetterTitleOnA1024Screen) {
  testing::SceneHarness<> h;
  h.random = ScriptedRandom{0.25f};
  TitleGlyphRow row;
  row.first_letter_x = 484;  // a one-letter title's origin, 483.5 to even
  row.y = 373.5f;
  row.Start(h.title_ctx);
  EXPECT_EQ(row.x, -29.0f);
  EXPECT_EQ(row.glyph_target, 56);
  for (int frame = 1; frame <= 25; ++frame) row.Step(h.title_ctx, h.title_canvas);
  EXPECT_EQ(row.glyphs_started, 56);
  ASSERT_EQ(row.Glyphs().size(), 56u);
  EXPECT_EQ(row.Glyphs()[0].x, -29.0f);
  EXPECT_EQ(row.Glyphs()[28].x, 503.0f);
  EXPECT_EQ(row.Glyphs()[55].x, -29.0f + 55 * 19);
  EXPECT_EQ(row.Glyphs()[0].glyph, 14);
  row.Step(h.title_ctx, h.title_canvas);
  EXPECT_EQ(row.glyphs_started, 56);

  // A step that does not divide 500 still fills the row to the right edge.
  h.title_ctx.time_step = 17;
  row.Start(h.title_ctx);
  for (int frame = 1; frame <= 30; ++frame) row.Step(h.title_ctx, h.title_canvas);
  EXPECT_EQ(row.glyphs_started, 56);
  EXPECT_FALSE(row.Finished());
}

}  // namespace
}  // namespace vx
