#include "title/title_row_glyph.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "fakes/scene_harness.h"

namespace vx {
namespace {

TEST(TitleRowGlyph, PhaseLengthsAndTheFaintBlink) {
  testing::SceneHarness<> h;
  h.random = ScriptedRandom{0.5f, 0.25f};  // wait 1000, blink 200
  TitleRowGlyph g;
  g.glyph = 5;
  std::vector<RowGlyphPhase> phases;
  int32_t blink_peak = 0;
  while (g.phase != RowGlyphPhase::kDone && phases.size() < 1000) {
    phases.push_back(g.phase);
    g.Step(h.title_ctx, h.title_canvas);
    if (phases.back() == RowGlyphPhase::kBlinkIn)
      blink_peak = std::max(blink_peak, g.layer1_opacity);
  }
  const auto count = [&](RowGlyphPhase p) { return std::count(phases.begin(), phases.end(), p); };
  EXPECT_EQ(count(RowGlyphPhase::kFadeIn), 2);    // 30 units: 20, then clamped to 30
  EXPECT_EQ(count(RowGlyphPhase::kFlash), 1);     // 10 units
  EXPECT_EQ(count(RowGlyphPhase::kDim), 3);       // 50 units
  EXPECT_EQ(count(RowGlyphPhase::kDark), 50);     // 1000 units
  EXPECT_EQ(count(RowGlyphPhase::kBlinkIn), 10);  // 200 units
  EXPECT_EQ(count(RowGlyphPhase::kBlinkOut), 10);
  EXPECT_EQ(blink_peak, 102);
  EXPECT_EQ(g.layer1_opacity, 0);
  EXPECT_EQ(g.phase_clock.length, 30);
}

}  // namespace
}  // namespace vx
