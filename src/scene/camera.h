// The point of view: the target travels forward along +Z and the eye circles it, now and then
// making one eased full turn, sometimes rising as it turns.
#pragma once

#include <cstdint>

#include "core/phase_clock.h"
#include "core/random.h"
#include "scene/viewpoint.h"

namespace vx {

// Cruising, or one full turn of the eye around the target: the angle grows or shrinks through
// 360 degrees, and in the rising turns the eye climbs and the target speeds up meanwhile.
enum class CameraMove : int32_t {
  kCruise = 1,
  kTurnAngleUp = 2,
  kTurnAngleDown = 3,
  kRisingTurnAngleUp = 4,
  kRisingTurnAngleDown = 5
};

class Camera {
 public:
  // Sets the camera distance to 400.
  explicit Camera(Viewpoint& view);

  CameraMove move = CameraMove::kCruise;
  PhaseClock move_clock{0, 5500};  // time in the current move
  float turn_percent = 0.0f;       // how far round the turn is, eased, 0 .. 100
  float rise_percent = 0.0f;       // the rise's own easing, twice as fast

  // One frame: writes the eye's x and z, the target's z and, in rising turns, the eye's y.
  void Advance(Viewpoint& view, int32_t time_step, Random& random);

  float Angle() const { return angle_; }
  void SetAngle(float a) { angle_ = a; }

 private:
  float angle_ = 270.0f;
};

}  // namespace vx
