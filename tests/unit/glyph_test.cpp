#include "scene/glyph.h"

#include <gtest/gtest.h>

#include "fakes/scene_harness.h"

namespace vx {
namespace {

using Harness = testing::SceneHarness<>;

TEST(Glyph, ConstructionDrawsHoldThenCellThenFlickerWait) {
  ScriptedRandom rnd{0.1f, 0.25f, 0.9f};
  Glyph g(rnd);
  EXPECT_EQ(g.hold_length, 80);             // 0.1 x 300 + 50
  EXPECT_EQ(g.cell, 14);                    // 0.25 x 56
  EXPECT_EQ(g.flicker_clock.length, 1000);  // 0.9 x 1000 + 100
  EXPECT_EQ(g.phase, GlyphPhase::kFadeIn);
  EXPECT_EQ(rnd.Draws(), 3);
}

// Walks one glyph through its whole life and records its phase after every update.
TEST(Glyph, PhasesRunInOrderWithTheirLengthsAndFinishOnce) {
  Harness h;
  Glyph g(h.random);
  g.hold_length = 100;
  g.flicker_clock.length = 1000000;  // no flicker in this walk
  h.random.Push(0.25f);              // fade-out length 0.25 x 200 + 150 = 200
  const int draws_before = h.random.Draws();
  int32_t finished = 0;
  std::vector<GlyphPhase> phases;
  for (int i = 0; i < 40; ++i) {
    g.Update(20, 100, h.random, finished);
    phases.push_back(g.phase);
  }
  // 1 call in the fade-in, round(50) = 50 -> 3 calls, 100 -> 5 calls, 200 -> 10 calls.
  using P = GlyphPhase;
  std::vector<P> expected = {P::kCrossFade, P::kCrossFade, P::kCrossFade, P::kHold,
                             P::kHold,      P::kHold,      P::kHold,      P::kHold};
  expected.insert(expected.end(), 10, P::kFadeOut);
  expected.resize(40, P::kDone);
  EXPECT_EQ(phases, expected);
  EXPECT_EQ(finished, 1);
  EXPECT_EQ(h.random.Draws(), draws_before + 1);
}

TEST(Glyph, OpacitiesRoundHalfToEvenInDoubles) {
  Harness h;
  int32_t fin = 0;
  Glyph g(h.random);
  g.hold_length = 125;
  g.Update(20, 100, h.random, fin);
  EXPECT_EQ(g.phase, GlyphPhase::kCrossFade);
  EXPECT_EQ(g.layer1_opacity, 255);
  EXPECT_EQ(g.phase_clock.length, 62);  // 62.5 rounds to even
  Glyph odd(h.random);
  odd.hold_length = 75;
  odd.Update(20, 100, h.random, fin);
  EXPECT_EQ(odd.phase_clock.length, 38);  // 37.5 rounds to even

  // p = 50: 50 x 2.55 is just below 127.5 in doubles, 255 minus it just above.
  g.phase_clock = {0, 40};
  g.Update(20, 100, h.random, fin);
  EXPECT_EQ(g.layer1_opacity, 128);
  EXPECT_EQ(g.layer2_opacity, 127);

  // At a partial distance fade: 100 x 2.55 / 100 x 50 is 127.49999999999999.
  Glyph n(h.random);
  n.Update(20, 50, h.random, fin);
  EXPECT_EQ(n.layer1_opacity, 127);

  // The hold and the fade-out follow the distance fade, below zero too (far columns are
  // advanced, not drawn).
  g.phase = GlyphPhase::kHold;
  g.phase_clock = {0, 1000};
  g.Update(20, 40, h.random, fin);
  EXPECT_EQ(g.layer2_opacity, 102);
  g.Update(20, -50, h.random, fin);
  EXPECT_EQ(g.layer2_opacity, -127);
  g.phase = GlyphPhase::kFadeOut;
  g.phase_clock = {80, 200};
  g.Update(20, 100, h.random, fin);  // p = 50
  EXPECT_EQ(g.layer2_opacity, 128);
}

TEST(Glyph, FlickerDrawsCellThenNextWaitAndStopsWhenFinished) {
  Harness h;
  int32_t fin = 0;
  Glyph g(h.random);
  g.phase = GlyphPhase::kHold;
  g.phase_clock = {0, 100000};
  g.flicker_clock.length = 40;
  h.random.Push(0.5f);
  h.random.Push(0.2f);
  g.Update(20, 100, h.random, fin);
  EXPECT_EQ(g.flicker_clock.elapsed, 20);
  g.Update(20, 100, h.random, fin);
  EXPECT_EQ(g.cell, 28);
  EXPECT_EQ(g.flicker_clock.length, 300);
  EXPECT_EQ(g.flicker_clock.elapsed, 0);

  g.phase = GlyphPhase::kDone;
  g.Update(20, 100, h.random, fin);
  EXPECT_EQ(g.flicker_clock.elapsed, 0);
  EXPECT_EQ(fin, 0);
}

TEST(Glyph, CellOrigins) {
  auto at = [](int32_t n) {
    CellOrigin c = GlyphCellOrigin(n);
    return std::make_pair(c.u, c.v);
  };
  EXPECT_EQ(at(1), std::make_pair(0.0f, 0.0f));
  EXPECT_EQ(at(10), std::make_pair(0.87890625f, 0.0f));
  EXPECT_EQ(at(11), std::make_pair(0.0f, 0.11328125f));
  EXPECT_EQ(at(56), std::make_pair(0.48828125f, 0.56640625f));
  // Number 0 shows the last cell instead of sampling left of the atlas.
  EXPECT_EQ(at(0), at(56));
}

TEST(Glyph, DrawnQuadHasCornersCellAndOpacityColour) {
  Harness h;
  Glyph g(h.random);
  g.phase = GlyphPhase::kCrossFade;
  g.layer1_opacity = 128;
  g.layer2_opacity = 5;
  g.cell = 11;
  g.x = -10;
  g.y = 20;
  g.z = 100;
  g.Draw(h.glyph_canvas);

  auto draws = h.device.Draws();
  ASSERT_EQ(draws.size(), 2u);
  const auto& v = draws[0]->scene_vertices;
  ASSERT_EQ(v.size(), 4u);
  EXPECT_EQ(draws[0]->a, D3DPT_TRIANGLESTRIP);
  EXPECT_EQ(draws[0]->b, 2u);
  EXPECT_EQ(draws[0]->value, 28);
  const float xs[4] = {-10, 8, -10, 8}, ys[4] = {20, 20, 41, 41};
  const float us[4] = {0, 0.09765625f, 0, 0.09765625f};
  const float vs[4] = {0.11328125f, 0.11328125f, 0.2265625f, 0.2265625f};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(v[i].x, xs[i]);
    EXPECT_EQ(v[i].y, ys[i]);
    EXPECT_EQ(v[i].z, 100.0f);
    EXPECT_EQ(v[i].tu, us[i]);
    EXPECT_EQ(v[i].tv, vs[i]);
    EXPECT_EQ(static_cast<uint32_t>(v[i].diffuse), 0x80FFFFFFu);
    EXPECT_EQ(static_cast<uint32_t>(draws[1]->scene_vertices[i].diffuse), 0x05FFFFFFu);
  }
  // Layer 1 then layer 2, each bound before its scene-vertex draw.
  std::vector<std::pair<DeviceCall::Kind, uint32_t>> seq;
  for (const auto& c : h.device.calls)
    if (c.kind == DeviceCall::kTexture)
      seq.push_back({c.kind, c.texture == h.glyph_canvas.layer1 ? 1u : 2u});
    else if (c.kind == DeviceCall::kVertexShader)
      seq.push_back({c.kind, c.a});
  const std::vector<std::pair<DeviceCall::Kind, uint32_t>> expected = {
      {DeviceCall::kTexture, 1},
      {DeviceCall::kVertexShader, 450},
      {DeviceCall::kTexture, 2},
      {DeviceCall::kVertexShader, 450}};
  EXPECT_EQ(seq, expected);
}

TEST(Glyph, PhaseChoosesLayersAndOffScreenDrawsNothing) {
  Harness h;
  auto layers = [&](GlyphPhase phase, float x) {
    Glyph g(h.random);
    g.phase = phase;
    g.layer1_opacity = 0;  // transparent still draws: the colour carries the opacity
    g.x = x;
    h.device.calls.clear();
    g.Draw(h.glyph_canvas);
    std::string out;
    for (const auto& c : h.device.calls)
      if (c.kind == DeviceCall::kTexture) out += c.texture == h.glyph_canvas.layer1 ? '1' : '2';
    return out;
  };
  EXPECT_EQ(layers(GlyphPhase::kFadeIn, 0), "1");
  EXPECT_EQ(layers(GlyphPhase::kCrossFade, 0), "12");
  EXPECT_EQ(layers(GlyphPhase::kHold, 0), "2");
  EXPECT_EQ(layers(GlyphPhase::kFadeOut, 0), "2");
  EXPECT_EQ(layers(GlyphPhase::kDone, 0), "");
  EXPECT_EQ(layers(GlyphPhase::kCrossFade, 5000), "");  // far right of the view
  // Only the bottom-right corner in view (just inside the left edge) still draws.
  EXPECT_EQ(layers(GlyphPhase::kCrossFade, -417.9f), "12");
}

}  // namespace
}  // namespace vx
