#include "settings_dialog/ball_animation.h"

#include <utility>

namespace vx {

BallAnimation::BallAnimation(int strip_width, int strip_height, RgbImage ball)
    : work_(strip_width, strip_height),
      blank_(strip_width, strip_height),
      ball_(std::move(ball)),
      strips_{RgbImage(strip_width, strip_height), RgbImage(strip_width, strip_height)} {}

void BallAnimation::Tick() {
  BlendConstant(work_, blank_, kFadeAlpha);
  const int32_t wb = ball_.Width();
  const int32_t ww = work_.Width();
  // Both tests look at the position before this tick's move.
  const bool past_right = wb + ball_x_ + ball_step_ > ww && ball_step_ > 0;
  const bool past_left = ball_step_ < 0 && ball_x_ < 2;
  if (past_right || past_left) ball_step_ = -ball_step_;
  BlendAdd(work_, ball_x_, kBallTop, ball_);
  ball_x_ += ball_step_;
  for (RgbImage& strip : strips_) Copy(strip, work_);
}

}  // namespace vx
