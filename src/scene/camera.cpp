#include "scene/camera.h"

#include <cmath>

#include "core/numbers.h"

namespace vx {

Camera::Camera(Viewpoint& view) {
  view.camera_distance = 400.0f;
}

void Camera::Advance(Viewpoint& view, int32_t time_step, Random& random) {
  const int32_t step = time_step;
  if (move == CameraMove::kCruise) {
    move_clock.Advance(step);
    if (move_clock.elapsed >= move_clock.length) {
      move_clock.length = Round32Fast(static_cast<double>(random.Next()) * 20000.0 + 2000.0);
      move_clock.elapsed = 0;
      move = static_cast<CameraMove>(Round32Fast(static_cast<double>(random.Next()) * 4.0 + 1.0));
    }
    view.target.z = static_cast<float>(view.target.z + step * 0.2);
  } else if (move >= CameraMove::kTurnAngleUp && move <= CameraMove::kRisingTurnAngleDown) {
    const CameraMove turn = move;  // the rest of the call belongs to this turn even if it ends
    const bool angle_up =
        turn == CameraMove::kTurnAngleUp || turn == CameraMove::kRisingTurnAngleUp;
    const bool rising = turn >= CameraMove::kRisingTurnAngleUp;
    move_clock.Advance(step);
    const double half = move_clock.length / 2.0;
    if (half > move_clock.elapsed) {
      const double t = move_clock.elapsed - half;
      turn_percent = static_cast<float>(
          (std::sin(t / move_clock.length * 6.28 + 3.14 / 2.0) + 1.0) / 2.0 * 100.0);
      if (turn != CameraMove::kTurnAngleUp)
        rise_percent =
            static_cast<float>((std::sin(t / half * 6.28 + 3.14 / 2.0) + 1.0) / 2.0 * 100.0);
    } else {
      move_clock.length = Round32Fast(static_cast<double>(random.Next()) * 4000.0 + 1500.0);
      move_clock.elapsed = 0;
      move = CameraMove::kCruise;
      turn_percent = 100.0f;
      rise_percent = 100.0f;
    }
    if (angle_up)
      angle_ = static_cast<float>(270.0 + turn_percent * 3.6);
    else
      angle_ = static_cast<float>(270.0 - turn_percent * 3.6);
    if (!rising)
      view.target.z = static_cast<float>(view.target.z + step * 0.2);
    else
      view.target.z =
          static_cast<float>(view.target.z + ((100.0 - rise_percent) * 0.004 + 0.2) * step);
    if (rising) view.eye.y = static_cast<float>(-((100.0 - rise_percent) * 2.0));
    if (angle_up) {
      if (angle_ >= 360.0f) angle_ -= 360.0f;
    } else if (turn == CameraMove::kTurnAngleDown) {
      if (angle_ <= 0.0f) angle_ += 360.0f;
    }
  }
  const double a = angle_ / 360.0 * 2.0 * 3.141;
  view.eye.x = static_cast<float>(std::cos(a) * view.camera_distance + view.target.x);
  view.eye.z = static_cast<float>(std::sin(a) * view.camera_distance + view.target.z);
}

}  // namespace vx
