#include "title/title_row_glyph.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "fakes/scene_harness.h"

namespace vx {
namespace {

TEST(TitleRowGlyph, PhaseLengthsAndTheFaintBlink) {
  SceneHarness h;
  h.random = ScriptedRandom{0.5f, 0.25f};  // wait 1000, blink 200
  TitleRowGlyph g;
  g.glyph = 5;
  int32_t blink_peak = 0;
  using P = RowGlyphPhase;
  const auto runs = PhaseRuns(g.phase, P::kDone, [&] {
    const P was = g.phase;
    g.Step(h.title_ctx, h.title_canvas);
    if (was == P::kBlinkIn) blink_peak = std::max(blink_peak, g.layer1_opacity);
  });
  // Ramps of 30 units (the last step clamped), a flash of 10, a dim of 50, the waits drawn.
  EXPECT_EQ(runs, (std::vector<std::pair<P, int>>{{P::kFadeIn, 2},
                                                  {P::kCrossFade, 2},
                                                  {P::kBrighten, 2},
                                                  {P::kFlash, 1},
                                                  {P::kDim, 3},
                                                  {P::kFadeSecond, 3},
                                                  {P::kFadeFirst, 3},
                                                  {P::kDark, 50},
                                                  {P::kBlinkIn, 10},
                                                  {P::kBlinkOut, 10}}));
  EXPECT_EQ(blink_peak, 102);  // 40 percent
  EXPECT_EQ(g.layer1_opacity, 0);
}

}  // namespace
}  // namespace vx
