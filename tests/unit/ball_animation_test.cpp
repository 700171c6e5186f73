#include "settings_dialog/ball_animation.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vx {
namespace {

RgbImage Ball() {
  RgbImage ball(14, 14);
  ball.At(7, 7) = {244, 84, 85};
  ball.At(3, 3) = {100, 10, 10};
  return ball;
}

// One tick; returns where the ball was drawn (its move follows the drawing).
int32_t TickDrawnAt(BallAnimation& anim) {
  anim.Tick();
  return anim.BallX() - anim.BallStep();
}

TEST(BallAnimation, BallRunsToAndFroAcrossIdenticalStripsLeavingAFadingTrail) {
  BallAnimation anim(433, 21, Ball());
  EXPECT_EQ(TickDrawnAt(anim), 0);
  // Only the ball, at column 0, row 1, on black.
  EXPECT_EQ(anim.Strip(0).At(7, 8), (Rgb{244, 84, 85}));
  EXPECT_EQ(anim.Strip(0).At(3, 4), (Rgb{100, 10, 10}));
  EXPECT_EQ(anim.Strip(0).At(7, 7), Rgb{});
  EXPECT_EQ(TickDrawnAt(anim), 4);
  EXPECT_EQ(anim.Strip(1).At(7, 8), (Rgb{228, 78, 79}));  // faded by 16/255, truncated
  // Out to 416, the last place where the whole ball fits, and back to 0, twice.
  for (int i = 2; i < 420; ++i) {
    const int phase = i % 208;
    ASSERT_EQ(TickDrawnAt(anim), 4 * std::min(phase, 208 - phase)) << i;
    ASSERT_EQ(anim.Strip(0), anim.Work());
    ASSERT_EQ(anim.Strip(1), anim.Work());
  }
}

TEST(BallAnimation, NarrowPictureAlternatesBetweenZeroAndMinusFour) {
  BallAnimation anim(17, 21, Ball());
  std::vector<int32_t> drawn;
  for (int i = 0; i < 6; ++i) drawn.push_back(TickDrawnAt(anim));
  EXPECT_EQ(drawn, (std::vector<int32_t>{0, -4, 0, -4, 0, -4}));
}

}  // namespace
}  // namespace vx
