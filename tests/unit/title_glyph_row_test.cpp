#include "title/title_glyph_row.h"

#include <gtest/gtest.h>

#include <tuple>

#include "fakes/scene_harness.h"

namespace vx {
namespace {

TEST(TitleGlyphRow, FillsTheScreenOnTheLettersGridWithinItsTime) {
  SceneHarness h;
  h.random = ScriptedRandom{0.25f};
  TitleGlyphRow row;
  row.first_letter_x = 484;  // a one-letter title's origin, 483.5 to even
  row.y = 373.5f;
  row.Start(h.title_ctx);
  // The grid point left of the screen edge, and enough glyphs to pass the right edge.
  EXPECT_EQ(std::make_tuple(row.x, row.glyph_target), std::make_tuple(-29.0f, 56));
  for (int frame = 1; frame <= 25; ++frame) row.Step(h.title_ctx, h.title_canvas);
  EXPECT_EQ(row.glyphs_started, 56);
  row.Step(h.title_ctx, h.title_canvas);
  ASSERT_EQ(row.Glyphs().size(), 56u);
  const TitleRowGlyph &first = row.Glyphs()[0], &last = row.Glyphs()[55];
  EXPECT_EQ(std::make_tuple(first.x, first.y, first.glyph), std::make_tuple(-29.0f, 373.5f, 14));
  EXPECT_EQ(row.Glyphs()[28].x, 503.0f);  // the letter's own grid point
  EXPECT_EQ(last.x, 1016.0f);

  // A step that does not divide 500 still fills the row to the right edge.
  h.title_ctx.time_step = 17;
  row.Start(h.title_ctx);
  for (int frame = 1; frame <= 30; ++frame) row.Step(h.title_ctx, h.title_canvas);
  EXPECT_EQ(row.Glyphs().size(), 56u);
  EXPECT_FALSE(row.Finished());
}

}  // namespace
}  // namespace vx
