#include "title/sweep_band.h"

#include <gtest/gtest.h>

#include "fakes/scene_harness.h"

namespace vx {
namespace {

TEST(SweepBand, SweepsOnceAcrossTheScreenAndAgainWhenRestarted) {
  testing::SceneHarness<> h;
  SweepBand e(h.title_ctx);
  e.y = 371.5f;
  EXPECT_EQ(e.height, 25);
  std::vector<float> left;
  std::vector<int32_t> opacity;
  const auto run = [&] {
    left.clear();
    opacity.clear();
    while (e.phase != SweepPhase::kOff && left.size() < 1000) {
      h.device.calls.clear();
      e.Step(h.title_ctx, h.title_canvas);
      const auto draws = h.device.Draws();
      EXPECT_EQ(draws.size(), 1u);
      const auto& q = draws.at(0)->screen_vertices;
      left.push_back(q[0].x);
      opacity.push_back(static_cast<int32_t>(static_cast<uint32_t>(q[0].diffuse) >> 24));
      EXPECT_EQ(q[0].y, 371.5f);
      EXPECT_EQ(q[3].x, q[0].x + 760.0f);
      EXPECT_EQ(q[0].tv, 127.0f / 512.0f);
    }
    return left.size();
  };
  EXPECT_EQ(run(), 32u);  // 2 frames of delay, 30 of sweep
  EXPECT_EQ(left[0], -760.0f);
  EXPECT_EQ(opacity[0], 0);
  EXPECT_EQ(left[16], 132.0f);  // 50 percent: 1784 x 50 / 100 - 760
  EXPECT_EQ(opacity[16], 250);
  EXPECT_EQ(left[31], 1024.0f);
  EXPECT_EQ(opacity[31], 0);
  e.phase = SweepPhase::kDelay;
  EXPECT_EQ(run(), 32u);
}

}  // namespace
}  // namespace vx
