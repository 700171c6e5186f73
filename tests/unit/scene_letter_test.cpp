#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/d3dx_math.h"
#include "core/numbers.h"
#include "fakes/scene_harness.h"
#include "fakes/scripted_random.h"
#include "scene/cls_lettre3d1.h"

namespace vx {
namespace {

using Harness = testing::SceneHarness<ScriptedRandom>;

TEST(Letter, ConstructionDrawsDecalThenCharacterThenFlickerWait) {
  ScriptedRandom rnd{0.1f, 0.25f, 0.9f};
  ClsLettre3D1 l(rnd);
  EXPECT_EQ(l.DecalSz, 80);      // 0.1 x 300 + 50
  EXPECT_EQ(l.NumLettreSz, 14);  // 0.25 x 56
  EXPECT_EQ(l.tTps2, 1000);      // 0.9 x 1000 + 100
  EXPECT_EQ(l.OpaciteSz, 255);
  EXPECT_EQ(l.OpaciteSz2, 0);
  EXPECT_EQ(l.Etat, 1);
  EXPECT_EQ(rnd.Draws(), 3);
}

// Walks one letter through its whole life and counts the calls spent in every phase.
TEST(Letter, PhasesRunInOrderWithTheirLengthsAndFinishOnce) {
  Harness h;
  ClsLettre3D1 l(h.random);
  l.DecalSz = 100;
  l.tTps2 = 1000000;     // no flicker in this walk
  h.random.Push(0.25f);  // fade-out length 0.25 x 200 + 150 = 200
  const int draws_before = h.random.Draws();
  int32_t finished = 0;
  const int32_t opDist = 100;
  std::vector<int32_t> phases;
  for (int i = 0; i < 40; ++i) {
    l.Calculer(h.ctx, finished, opDist);
    phases.push_back(l.Etat);
  }
  // 1 call in phase 1, round(50) = 50 -> 3 calls, 100 -> 5 calls, 200 -> 10 calls.
  std::vector<int32_t> expected = {2, 2, 2, 3, 3, 3, 3, 3, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 0};
  expected.resize(40, 0);
  EXPECT_EQ(phases, expected);
  EXPECT_EQ(finished, 1);
  EXPECT_EQ(h.random.Draws(), draws_before + 1);
}

TEST(Letter, FirstCallAndCrossFadeOpacities) {
  Harness h;
  int32_t fin = 0;
  ClsLettre3D1 l(h.random);
  l.DecalSz = 125;
  l.Calculer(h.ctx, fin, 100);
  EXPECT_EQ(l.Etat, 2);
  EXPECT_EQ(l.OpaciteSz, 255);
  EXPECT_EQ(l.OpaciteSz2, 0);
  EXPECT_EQ(l.tTps1, 62);  // 62.5 rounds to even

  ClsLettre3D1 m(h.random);
  m.DecalSz = 75;
  m.Calculer(h.ctx, fin, 100);
  EXPECT_EQ(m.tTps1, 38);  // 37.5 rounds to even

  // p = 50: 50 x 2.55 is just below 127.5 in doubles, 255 minus it just above.
  l.tTps1 = 40;
  l.Tps1 = 0;
  l.Calculer(h.ctx, fin, 100);
  EXPECT_EQ(l.OpaciteSz, 128);
  EXPECT_EQ(l.OpaciteSz2, 127);

  // First call at a partial distance fade: 100 x 2.55 / 100 x 50 is 127.49999999999999.
  ClsLettre3D1 n(h.random);
  n.Calculer(h.ctx, fin, 50);
  EXPECT_EQ(n.OpaciteSz, 127);
}

TEST(Letter, HoldAndFadeOutFollowTheDistanceFade) {
  Harness h;
  int32_t fin = 0;
  ClsLettre3D1 l(h.random);
  l.Etat = 3;
  l.tTps1 = 1000;
  l.Calculer(h.ctx, fin, 40);
  EXPECT_EQ(l.OpaciteSz2, 102);
  l.Calculer(h.ctx, fin, -50);
  EXPECT_EQ(l.OpaciteSz2, -127);  // far lines are advanced, not drawn

  l.Etat = 4;
  l.tTps1 = 200;
  l.Tps1 = 80;
  l.Calculer(h.ctx, fin, 100);  // p = 50
  EXPECT_EQ(l.OpaciteSz2, 128);
  EXPECT_EQ(l.Etat, 4);
}

TEST(Letter, FlickerDrawsCharacterThenNextWaitAndStopsWhenFinished) {
  Harness h;
  int32_t fin = 0;
  ClsLettre3D1 l(h.random);
  l.Etat = 3;
  l.tTps1 = 100000;
  l.tTps2 = 40;
  h.random.Push(0.5f);
  h.random.Push(0.2f);
  l.Calculer(h.ctx, fin, 100);
  EXPECT_EQ(l.Tps2, 20);
  const int before = h.random.Draws();
  l.Calculer(h.ctx, fin, 100);
  EXPECT_EQ(h.random.Draws(), before + 2);
  EXPECT_EQ(l.NumLettreSz, 28);
  EXPECT_EQ(l.tTps2, 300);
  EXPECT_EQ(l.Tps2, 0);

  l.Etat = 0;
  l.Calculer(h.ctx, fin, 100);
  EXPECT_EQ(l.Tps2, 0);
  EXPECT_EQ(fin, 0);
}

TEST(Letter, CellOrigins) {
  auto at = [](int32_t n) {
    CellOrigin c = CellForCharacter(n);
    return std::make_pair(c.u, c.v);
  };
  EXPECT_EQ(at(1), std::make_pair(0.0f, 0.0f));
  EXPECT_EQ(at(10), std::make_pair(0.87890625f, 0.0f));
  EXPECT_EQ(at(11), std::make_pair(0.0f, 0.11328125f));
  EXPECT_EQ(at(56), std::make_pair(0.48828125f, 0.56640625f));
  // Character 0 shows the last cell instead of sampling left of the atlas.
  EXPECT_EQ(at(0), at(56));
}

TEST(Letter, DrawnQuadHasCornersCellAndOpacityColour) {
  Harness h;
  h.LookFromBehind();
  ClsLettre3D1 l(h.random);
  l.Etat = 2;
  l.OpaciteSz = 128;
  l.OpaciteSz2 = 5;
  l.NumLettreSz = 11;
  l.XSz = -10;
  l.YSz = 20;
  l.ZSz = 100;
  l.AfficherLettre(h.ctx);

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
    EXPECT_EQ(v[i].specular, 0);
    EXPECT_EQ(static_cast<uint32_t>(v[i].diffuse), 0x80FFFFFFu);
    EXPECT_EQ(static_cast<uint32_t>(draws[1]->scene_vertices[i].diffuse), 0x05FFFFFFu);
  }
  // Layer 1 samples slot 1, layer 2 slot 4, both as scene vertices.
  std::vector<std::pair<DeviceCall::Kind, uint32_t>> seq;
  for (const auto& c : h.device.calls)
    if (c.kind == DeviceCall::kTexture)
      seq.push_back({c.kind, c.texture == h.ctx.glyph_layer1.get() ? 1u : 4u});
    else if (c.kind == DeviceCall::kVertexShader)
      seq.push_back({c.kind, c.a});
  const std::vector<std::pair<DeviceCall::Kind, uint32_t>> expected = {
      {DeviceCall::kTexture, 1},
      {DeviceCall::kVertexShader, 450},
      {DeviceCall::kTexture, 4},
      {DeviceCall::kVertexShader, 450}};
  EXPECT_EQ(seq, expected);
}

TEST(Letter, PhaseChoosesLayersAndOffScreenDrawsNothing) {
  Harness h;
  h.LookFromBehind();
  auto layers = [&](int32_t etat, float x) {
    ClsLettre3D1 l(h.random);
    l.Etat = etat;
    l.OpaciteSz = 0;  // transparent still draws: the colour carries the opacity
    l.XSz = x;
    h.device.calls.clear();
    l.AfficherLettre(h.ctx);
    std::string out;
    for (const auto& c : h.device.calls)
      if (c.kind == DeviceCall::kTexture) out += c.texture == h.ctx.glyph_layer1.get() ? '1' : '4';
    return out;
  };
  EXPECT_EQ(layers(1, 0), "1");
  EXPECT_EQ(layers(2, 0), "14");
  EXPECT_EQ(layers(3, 0), "4");
  EXPECT_EQ(layers(4, 0), "4");
  EXPECT_EQ(layers(0, 0), "");
  EXPECT_EQ(layers(2, 5000), "");  // far right of the view
  // Only the bottom-right corner in view (just inside the left edge) still draws.
  EXPECT_EQ(layers(2, -417.9f), "14");
}

TEST(ScreenProjection, MatchesD3DXProjectAndIncludesTheEdges) {
  Harness h;
  h.LookFromBehind();
  MersenneRandom rnd(7);
  const D3DViewport vp = h.device.viewport;
  for (int i = 0; i < 500; ++i) {
    D3DVector p{rnd.Next() * 2000 - 1000, rnd.Next() * 2000 - 1000, rnd.Next() * 3000 - 1000};
    D3DVector want;
    D3DXVec3Project(want, p, vp, h.ctx.projection, h.ctx.view, h.ctx.world);
    const D3DVector got = h.ctx.Projection.Project(p);
    ASSERT_EQ(got.x, want.x);
    ASSERT_EQ(got.y, want.y);
    ASSERT_EQ(got.z, want.z);
  }
  // At distance 400 with a 90-degree view the visible half-width is 400 units.
  EXPECT_TRUE(h.ctx.Projection.IsOnScreen({0, 0, 0}));
  EXPECT_FALSE(h.ctx.Projection.IsOnScreen({0, 0, -500}));  // behind the eye
  EXPECT_FALSE(h.ctx.Projection.IsOnScreen({401, 0, 0}));
  EXPECT_TRUE(h.ctx.Projection.IsOnScreen({399, 399, 0}));
}

}  // namespace
}  // namespace vx

namespace vx {
namespace {

TEST(Numbers, Round32FastAgreesWithRound32) {
  for (double v : {0.5,
                   1.5,
                   2.5,
                   -0.5,
                   -1.5,
                   -2.5,
                   127.49999999999999,
                   127.50000000000001,
                   -127.49999999999999,
                   2147483646.5,
                   2147483647.0,
                   2147483647.5,
                   -2147483647.5,
                   -2147483648.0,
                   -2147483648.5,
                   -3e9,
                   3e9,
                   0.0,
                   -0.0,
                   1e-300})
    EXPECT_EQ(Round32Fast(v), Round32(v)) << v;
  EXPECT_EQ(Round32Fast(std::numeric_limits<double>::quiet_NaN()), 0);
  MersenneRandom rnd(1);
  for (int i = 0; i < 100000; ++i) {
    const double v = (rnd.Next() - 0.5) * std::pow(2.0, static_cast<int>(rnd.Next() * 34));
    const double half = std::floor(v) + 0.5;  // and every tie near it
    ASSERT_EQ(Round32Fast(v), Round32(v)) << v;
    ASSERT_EQ(Round32Fast(half), Round32(half)) << half;
  }
}

}  // namespace
}  // namespace vx
