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

TEST(BallAnimation, BallRunsToAndFroAcrossIdenticalStrips) {
  BallAnimation anim(433, 21, Ball());
  anim.Tick();
  // First tick: only the ball, at column 0, row 1, on black.
  EXPECT_EQ(anim.Strip(0).At(7, 8), (Rgb{244, 84, 85}));
  EXPECT_EQ(anim.Strip(0).At(3, 4), (Rgb{100, 10, 10}));
  EXPECT_EQ(anim.Strip(0).At(7, 7), Rgb{});
  std::vector<int32_t> drawn{0};
  for (int i = 1; i < 420; ++i) {
    anim.Tick();
    drawn.push_back(anim.BallX() - anim.BallStep());  // the move follows the drawing
    ASSERT_EQ(anim.Strip(0), anim.Work());
    ASSERT_EQ(anim.Strip(1), anim.Work());
  }
  for (size_t i = 0; i <= 104; ++i) EXPECT_EQ(drawn[i], static_cast<int32_t>(4 * i)) << i;
  for (size_t i = 105; i <= 208; ++i) EXPECT_EQ(drawn[i], 416 - 4 * static_cast<int32_t>(i - 104));
  EXPECT_EQ(drawn[209], 4);
  EXPECT_EQ(*std::max_element(drawn.begin(), drawn.end()), 416);
  EXPECT_EQ(*std::min_element(drawn.begin(), drawn.end()), 0);
  // The trail: the first ball image has faded after 208 ticks of 16/255.
  EXPECT_LT(anim.Work().At(7 + 200, 8).r, 244);
}

TEST(BallAnimation, NarrowPictureAlternatesBetweenZeroAndMinusFour) {
  BallAnimation anim(17, 21, Ball());
  std::vector<int32_t> drawn;
  for (int i = 0; i < 6; ++i) {
    anim.Tick();
    drawn.push_back(anim.BallX() - anim.BallStep());
  }
  EXPECT_EQ(drawn, (std::vector<int32_t>{0, -4, 0, -4, 0, -4}));
}

}  // namespace
}  // namespace vx
