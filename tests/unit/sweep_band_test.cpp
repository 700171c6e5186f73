#include "title/sweep_band.h"

#include <gtest/gtest.h>

#include <tuple>

#include "fakes/scene_harness.h"

namespace vx {
namespace {

TEST(SweepBand, SweepsOnceAcrossTheScreenAndAgainWhenRestarted) {
  SceneHarness h;
  SweepBand e(h.title_ctx);
  e.y = 371.5f;
  std::vector<float> left;
  std::vector<int32_t> opacity;
  const auto run = [&] {
    left.clear();
    opacity.clear();
    while (e.phase != SweepPhase::kOff && left.size() < 1000) {
      h.device.calls.clear();
      e.Step(h.title_ctx, h.title_canvas);
      const auto& q = h.device.Draws().at(0)->screen_vertices;
      left.push_back(q[0].x);
      opacity.push_back(Alpha(q[0]));
      EXPECT_EQ(std::make_tuple(q[0].y, q[3].x, q[3].y, q[0].tv),
                std::make_tuple(371.5f, q[0].x + 760, 396.5f, 127.0f / 512));
    }
    return left.size();
  };
  EXPECT_EQ(run(), 32u);  // 2 frames of delay (it ends only past 30), 30 of sweep
  EXPECT_EQ(left[0], -760.0f);
  EXPECT_EQ(opacity[0], 0);
  EXPECT_FLOAT_EQ(left[3], -635.12f);  // 6.7 percent swept: it moves by whole percents, 7
  EXPECT_EQ(left[16], 132.0f);         // 50 percent: 1784 x 50 / 100 - 760
  EXPECT_EQ(opacity[16], 250);
  EXPECT_EQ(left[31], 1024.0f);
  EXPECT_EQ(opacity[31], 0);
  e.phase = SweepPhase::kDelay;
  EXPECT_EQ(run(), 32u);
  // Ties round to even: 1 of 8 units is 12.5 percent.
  h.title_ctx.time_step = 1;
  e.phase = SweepPhase::kSweep;
  e.phase_clock = {0, 8};
  e.Step(h.title_ctx, h.title_canvas);
  EXPECT_EQ(e.PercentSwept(), 12);
}

}  // namespace
}  // namespace vx
