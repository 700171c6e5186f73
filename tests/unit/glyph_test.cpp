#include "scene/glyph.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "fakes/scene_harness.h"

namespace vx {
namespace {

using P = GlyphPhase;

TEST(Glyph, RandomDrawsHoldCellAndFlickerWaitThenFlickersCellThenWait) {
  ScriptedRandom rnd{0.1f, 0.25f, 0.9f, 0.5f, 0.2f};
  Glyph g(rnd);
  // 0.1 x 300 + 50, 0.25 x 56, 0.9 x 1000 + 100.
  EXPECT_EQ(std::make_tuple(g.hold_length, g.cell, g.flicker_clock.length),
            std::make_tuple(80, 14, 1000));
  g.phase = P::kHold;
  g.phase_clock = {0, 100000};
  g.flicker_clock = {0, 40};
  int32_t fin = 0;
  g.Update(20, 100, rnd, fin);
  EXPECT_EQ(rnd.Draws(), 3);
  g.Update(20, 100, rnd, fin);  // 0.5 x 56, 0.2 x 1000 + 100
  EXPECT_EQ(std::make_tuple(g.cell, g.flicker_clock.elapsed, g.flicker_clock.length),
            std::make_tuple(28, 0, 300));
  g.phase = P::kDone;  // a finished glyph no longer flickers
  g.Update(20, 100, rnd, fin);
  EXPECT_EQ(g.flicker_clock.elapsed, 0);
}

TEST(Glyph, PhasesRunInOrderWithTheirLengthsAndFinishOnce) {
  ScriptedRandom rnd{0, 0, 0, 0.25f};  // fade-out length 0.25 x 200 + 150 = 200
  Glyph g(rnd);
  g.hold_length = 100;
  g.flicker_clock.length = 1000000;
  int32_t finished = 0;
  std::string phases;
  for (int i = 0; i < 20; ++i) {
    g.Update(20, 100, rnd, finished);
    phases += static_cast<char>('0' + static_cast<int>(g.phase));
  }
  // 1 call in the fade-in, round(50) = 50 -> 3 calls, 100 -> 5 calls, 200 -> 10 calls.
  EXPECT_EQ(phases, "22233333444444444400");
  EXPECT_EQ(finished, 1);
  EXPECT_EQ(rnd.Draws(), 4);
}

TEST(Glyph, OpacitiesAndLengthsRoundHalfToEvenInDoubles) {
  ScriptedRandom rnd;
  int32_t fin = 0;
  auto update = [&](Glyph& g, int32_t fade) {
    g.Update(20, fade, rnd, fin);
    return std::make_pair(g.layer1_opacity, g.layer2_opacity);
  };
  Glyph g(rnd), odd(rnd), near(rnd);
  g.hold_length = 125;
  odd.hold_length = 75;
  EXPECT_EQ(update(g, 100).first, 255);  // the fade-in ends at once at full opacity
  update(odd, 100);
  EXPECT_EQ(g.phase_clock.length, 62);    // 62.5 rounds to even
  EXPECT_EQ(odd.phase_clock.length, 38);  // 37.5 rounds to even
  // p = 50: 50 x 2.55 is just below 127.5 in doubles, 255 minus it just above.
  g.phase_clock = {0, 40};
  EXPECT_EQ(update(g, 100), std::make_pair(128, 127));
  // At a partial distance fade: 100 x 2.55 / 100 x 50 is 127.49999999999999.
  EXPECT_EQ(update(near, 50).first, 127);
  // The hold and the fade-out follow the distance fade, below zero too (far columns are
  // advanced, not drawn).
  g.phase = P::kHold;
  g.phase_clock = {0, 1000};
  EXPECT_EQ(update(g, 40).second, 102);
  EXPECT_EQ(update(g, -50).second, -127);
  g.phase = P::kFadeOut;
  g.phase_clock = {80, 200};
  EXPECT_EQ(update(g, 100).second, 128);  // p = 50
}

TEST(Glyph, CellOriginsAndTheQuadOfEachPhasesLayersWhenAnyCornerIsOnScreen) {
  auto at = [](int32_t n) { return std::make_pair(GlyphCellOrigin(n).u, GlyphCellOrigin(n).v); };
  EXPECT_EQ(at(10), std::make_pair(0.87890625f, 0.0f));
  EXPECT_EQ(at(56), std::make_pair(0.48828125f, 0.56640625f));
  EXPECT_EQ(at(0), at(56));  // number 0 shows the last cell instead of sampling left of the atlas

  SceneHarness h;
  auto draw = [&](P phase, float x) {
    Glyph g(h.random);
    std::tie(g.phase, g.layer1_opacity, g.layer2_opacity, g.cell, g.x, g.y, g.z) =
        std::make_tuple(phase, 128, 0, 11, x, 20.0f, 100.0f);
    h.device.calls.clear();
    g.Draw(h.glyph_canvas);
    std::string layers;
    for (Texture* t : h.device.Bound()) layers += t == &h.glyph_layer1 ? '1' : '2';
    return layers;
  };
  EXPECT_EQ(draw(P::kFadeIn, 0), "1");
  EXPECT_EQ(draw(P::kHold, 0), "2");  // transparent still draws: the colour carries the opacity
  EXPECT_EQ(draw(P::kFadeOut, 0), "2");
  EXPECT_EQ(draw(P::kDone, 0), "");
  EXPECT_EQ(draw(P::kCrossFade, 5000), "");  // far right of the view
  // Only the bottom-right corner in view (just inside the left edge) still draws.
  EXPECT_EQ(draw(P::kCrossFade, -417.9f), "12");

  ASSERT_EQ(draw(P::kCrossFade, -10), "12");
  const auto draws = h.device.Draws();
  const float xs[4] = {-10, 8, -10, 8}, ys[4] = {20, 20, 41, 41};
  const float us[4] = {0, 0.09765625f, 0, 0.09765625f};
  const float vs[4] = {0.11328125f, 0.11328125f, 0.2265625f, 0.2265625f};
  for (size_t i = 0; i < 4; ++i) {
    const SceneVertex& v = draws[0]->scene_vertices.at(i);
    EXPECT_EQ(std::make_tuple(v.x, v.y, v.z, v.tu, v.tv),
              std::make_tuple(xs[i], ys[i], 100.0f, us[i], vs[i]));
    EXPECT_EQ(static_cast<uint32_t>(v.diffuse), 0x80FFFFFFu);
    EXPECT_EQ(static_cast<uint32_t>(draws[1]->scene_vertices.at(i).diffuse), 0x00FFFFFFu);
  }
}

}  // namespace
}  // namespace vx
