// The glowing ball that runs to and fro across the dialog's two black strips, leaving a
// fading trail. Built in a work picture and copied to both strips every tick.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "settings_dialog/rgb_image.h"

namespace vx {

class BallAnimation {
 public:
  static constexpr int kIntervalMs = 30;
  static constexpr uint8_t kFadeAlpha = 16;
  static constexpr int kBallTop = 1;

  // strip_width x strip_height is the size of a display strip; ball is the ball picture.
  BallAnimation(int strip_width, int strip_height, RgbImage ball);

  // One timer tick: fade, bounce test, draw the ball, move, copy to both strips.
  void Tick();

  int32_t BallX() const { return ball_x_; }
  int32_t BallStep() const { return ball_step_; }
  const RgbImage& Work() const { return work_; }
  const RgbImage& Strip(int index) const { return strips_[static_cast<size_t>(index)]; }

 private:
  RgbImage work_, blank_, ball_;
  std::array<RgbImage, 2> strips_;
  int32_t ball_x_ = 0;
  int32_t ball_step_ = 4;
};

}  // namespace vx
