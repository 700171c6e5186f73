#include <gtest/gtest.h>

#include <cmath>

#include "fakes/scene_harness.h"
#include "fakes/scripted_random.h"
#include "scene/cls_camera.h"
#include "scene/cls_ligne3d1.h"

namespace vx {
namespace {

using Harness = testing::SceneHarness<ScriptedRandom>;

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

TEST(Line, ConstructionDrawsLengthTopXThenZ) {
  Harness h;
  h.ctx.EyeX = 10;
  h.ctx.TargetZ = 50;
  h.ctx.CameraDistance = 400;
  h.random = ScriptedRandom{0.5f, 0.4f, 0.25f, 0.75f};
  ClsLigne3D1 line(h.ctx);
  EXPECT_EQ(line.tTps1, 600);  // (0.5 x 10 + 5) x 60
  EXPECT_EQ(line.YSz, -400.0f);
  EXPECT_EQ(line.XSz, 160.0f);  // 10 + 300 - 150
  EXPECT_EQ(line.ZSz, 500.0f);  // 50 + 600 x 0.75
  EXPECT_EQ(line.NbrCarNSz, 60);
  EXPECT_EQ(line.Etat, 1.0f);
  EXPECT_EQ(line.NbrCarSz, 0);
}

TEST(Line, GrowthCountRoundsHalfToEvenAndStacksLettersDownward) {
  Harness h;
  h.random = ScriptedRandom{0.5f, 0.4f, 0.5f, 0.5f};
  ClsLigne3D1 line(h.ctx);
  line.tTps1 = 400;
  line.Calculer(h.ctx);  // progress 5: 60 / 100 x 5 = 3 letters
  EXPECT_EQ(line.Progress(), 5.0f);
  ASSERT_EQ(line.Letters().size(), 3u);
  EXPECT_EQ(line.NbrCarSz, 3);
  const double step = 21.0 - 21.0 / 5.8;
  float y = -400.0f;
  for (const ClsLettre3D1& l : line.Letters()) {
    EXPECT_EQ(l.YSz, y);
    EXPECT_EQ(l.XSz, line.XSz);
    EXPECT_EQ(l.ZSz, line.ZSz);
    y = static_cast<float>(y + step);
  }
  EXPECT_EQ(line.YSz, y);

  auto grown = [&](int32_t letters, int32_t time_step) {
    h.settings.TimeStep = time_step;
    ClsLigne3D1 l(h.ctx);
    l.NbrCarNSz = letters;
    l.tTps1 = 400;
    l.Calculer(h.ctx);
    return l.Letters().size();
  };
  EXPECT_EQ(grown(50, 20), 2u);    // 2.5 letters due -> 2
  EXPECT_EQ(grown(50, 28), 4u);    // 3.5 letters due -> 4
  EXPECT_EQ(grown(50, 400), 50u);  // time is up: every remaining letter at once
  EXPECT_EQ(grown(50, 1000), 50u);
}

TEST(Line, DistanceFade) {
  Harness h;
  h.random = ScriptedRandom{0.5f};
  auto fade = [&](float dz, float dx) {
    ClsLigne3D1 line(h.ctx);
    line.XSz = 0;
    line.ZSz = 100;
    line.tTps1 = 20;
    h.ctx.EyeX = -dx;
    h.ctx.EyeZ = 100 - dz;
    line.Calculer(h.ctx);
    return line.opDistSz;
  };
  EXPECT_EQ(fade(500, 0), 100);
  EXPECT_EQ(fade(300, 400), 100);  // horizontal distance, both axes
  EXPECT_EQ(fade(200, 0), 100);    // closer than 500 is capped
  EXPECT_EQ(fade(1000, 0), 50);
  EXPECT_EQ(fade(1005, 0), 50);  // 49.5 -> 50
  EXPECT_EQ(fade(1015, 0), 48);  // 48.5 -> 48
  EXPECT_EQ(fade(1500, 0), 0);
  EXPECT_EQ(fade(2000, 0), -50);

  // Lines at 0 or below are advanced but not drawn.
  h.LookFromBehind();
  ClsLigne3D1 line(h.ctx);
  line.XSz = 0;
  line.ZSz = 0;
  line.tTps1 = 20;
  h.ctx.EyeX = 0;
  h.ctx.EyeZ = -1500;
  line.Calculer(h.ctx);
  line.Afficher(h.ctx);
  EXPECT_EQ(h.device.draw_count, 0u);
  h.ctx.EyeZ = -400;
  line.Calculer(h.ctx);
  line.Afficher(h.ctx);
  EXPECT_GT(h.device.draw_count, 0u);
}

TEST(Line, RestartsWhenEveryLetterHasFinished) {
  Settings s = testing::DefaultSceneSettings();
  EventScript script;
  RecordingDevice device;
  RecordingRandom rnd;
  SceneContext ctx(s, device, rnd, script);
  ctx.TargetZ = 1000;
  ctx.CameraDistance = 400;
  D3DXMatrixLookAtLH(ctx.view, {0, 0, 600}, {0, 0, 1000}, {0, -1, 0});
  D3DXMatrixPerspectiveFovLH(ctx.projection, 1.5707964f, 1.0f, 0.1f, 100000.0f);
  D3DXMatrixIdentity(ctx.world);
  ctx.PrepareProjection();

  ClsLigne3D1 line(ctx);
  line.tTps1 = 20;  // all letters in the first call
  int calls = 0;
  bool restarted = false;
  while (!restarted && calls < 1000) {
    const size_t before = line.Letters().size();
    line.Calculer(ctx);
    ++calls;
    restarted = before == 60 && line.Letters().empty();
    if (!restarted) {
      int32_t done = 0;
      for (const auto& l : line.Letters()) done += l.Etat == 0;
      ASSERT_EQ(done, line.NbrCarFin);
    }
  }
  ASSERT_TRUE(restarted);
  // The last five draws of that call place and size the new cycle, in this order.
  const auto& v = rnd.values;
  const float* r = &v[v.size() - 5];
  EXPECT_EQ(line.YSz, r[0] * 250.0f - 750.0f);
  EXPECT_EQ(line.XSz, 300.0f - r[1] * 600.0f);  // centred on TargetX, not the eye
  EXPECT_EQ(line.ZSz, 1000.0f + 600.0f * r[2]);
  EXPECT_EQ(line.tTps1, std::lround(r[3] * 800.0 + 800.0));
  EXPECT_EQ(line.NbrCarNSz, std::lround(r[4] * 40.0 + 40.0));
  EXPECT_EQ(line.NbrCarFin, 0);
  EXPECT_EQ(line.NbrCarSz, 0);
  EXPECT_EQ(line.Tps1, 0);
  EXPECT_EQ(line.Progress(), 0.0f);
  device.draw_count = 0;
  line.Afficher(ctx);
  EXPECT_EQ(device.draw_count, 0u);
  // The next cycle grows again.
  line.Calculer(ctx);
  EXPECT_FALSE(line.Letters().empty());
}

TEST(Camera, FirstCallCruisesForwardBehindTheTarget) {
  Harness h;
  ClsCamera cam(h.ctx);
  EXPECT_EQ(h.ctx.CameraDistance, 400.0f);
  cam.Affichage(h.ctx);
  EXPECT_EQ(h.ctx.TargetZ, 4.0f);
  EXPECT_NEAR(h.ctx.EyeX, -0.3556, 1e-4);
  EXPECT_NEAR(h.ctx.EyeZ, -396.0, 1e-3);
  EXPECT_EQ(h.ctx.EyeY, 0.0f);
  EXPECT_EQ(cam.Tps1, 20);
  EXPECT_EQ(h.random.Draws(), 0);
}

TEST(Camera, CruiseEndDrawsLengthThenMove) {
  Harness h;
  ClsCamera cam(h.ctx);
  cam.Tps1 = 5480;
  h.random = ScriptedRandom{0.5f, 0.125f};
  cam.Affichage(h.ctx);
  EXPECT_EQ(cam.tTps1, 12000);
  EXPECT_EQ(cam.Etat, 2);  // 1.5 rounds to 2
  EXPECT_EQ(cam.Tps1, 0);
  EXPECT_EQ(h.ctx.TargetZ, 4.0f);  // the cruise still advances in that call
  h.random = ScriptedRandom{0.5f, 0.375f};
  cam.Etat = 1;
  cam.Tps1 = 100000;
  cam.Affichage(h.ctx);
  EXPECT_EQ(cam.Etat, 2);  // 2.5 rounds to 2
  h.random = ScriptedRandom{0.5f, 0.625f};
  cam.Etat = 1;
  cam.Tps1 = 100000;
  cam.Affichage(h.ctx);
  EXPECT_EQ(cam.Etat, 4);  // 3.5 rounds to 4
}

TEST(Camera, TurnWrapsAndEndsAFullCircleLater) {
  Harness h;
  ClsCamera cam(h.ctx);
  cam.Etat = 2;
  cam.tTps1 = 4000;
  cam.Tps1 = 980;
  cam.Affichage(h.ctx);
  EXPECT_EQ(cam.prctSz, 50.0f);
  EXPECT_EQ(cam.Angle(), 90.0f);                         // 450 wrapped
  EXPECT_NEAR(h.ctx.EyeZ - h.ctx.TargetZ, 400.0, 0.01);  // half way round: in front
  cam.Tps1 = 1980;
  h.random = ScriptedRandom{0.5f};
  cam.Affichage(h.ctx);
  EXPECT_EQ(cam.Etat, 1);
  EXPECT_EQ(cam.tTps1, 3500);
  EXPECT_EQ(cam.Angle(), 270.0f);  // 630 wrapped

  // Decreasing turn: -90 at the end wraps back to 270; the rising variant keeps -90.
  cam.Etat = 3;
  cam.tTps1 = 4000;
  cam.Tps1 = 1990;
  cam.Affichage(h.ctx);
  EXPECT_EQ(cam.Angle(), 270.0f);
  cam.Etat = 5;
  cam.tTps1 = 4000;
  cam.Tps1 = 1990;
  cam.Affichage(h.ctx);
  EXPECT_EQ(cam.Angle(), -90.0f);
  EXPECT_EQ(h.ctx.EyeY, 0.0f);
  EXPECT_NEAR(h.ctx.EyeZ - h.ctx.TargetZ, -400.0, 0.01);
}

TEST(Camera, RisingTurnPeaksAtHalfItsSpan) {
  Harness h;
  ClsCamera cam(h.ctx);
  cam.Etat = 4;
  cam.tTps1 = 4000;
  cam.Tps1 = 980;
  const float z = h.ctx.TargetZ;
  cam.Affichage(h.ctx);
  EXPECT_NEAR(cam.prctSz2, 0.0000159, 1e-6);
  EXPECT_NEAR(h.ctx.EyeY, -200.0, 1e-3);
  EXPECT_NEAR(h.ctx.TargetZ - z, 0.6 * 20, 1e-4);
  EXPECT_EQ(cam.Angle(), 90.0f);
}

}  // namespace
}  // namespace vx
