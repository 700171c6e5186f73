// The point of view: the target travels forward along +Z and the eye circles it, now and then
// making one eased full turn, sometimes rising as it turns.
#pragma once

#include <cstdint>

namespace vx {

struct SceneContext;

class ClsCamera {
 public:
  // Sets the context's CameraDistance to 400.
  explicit ClsCamera(SceneContext& ctx);

  int32_t Etat = 1;  // 1 cruise; 2/3 turn up/down in angle; 4/5 the same with a rise
  int32_t Tps1 = 0;
  int32_t tTps1 = 5500;
  float prctSz = 0.0f;
  float prctSz2 = 0.0f;

  // One frame: writes EyeX, EyeZ, TargetZ and, in moves 4 and 5, EyeY.
  void Affichage(SceneContext& ctx);

  float Angle() const { return angle_; }
  void SetAngle(float a) { angle_ = a; }

 private:
  float angle_ = 270.0f;
};

}  // namespace vx
