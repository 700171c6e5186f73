#include "scene/cls_camera.h"

#include <cmath>

#include "core/numbers.h"
#include "scene/scene_context.h"

namespace vx {

ClsCamera::ClsCamera(SceneContext& ctx) {
  ctx.CameraDistance = 400.0f;
}

void ClsCamera::Affichage(SceneContext& ctx) {
  const int32_t step = ctx.settings.TimeStep;
  if (Etat == 1) {
    AddStep(Tps1, step);
    if (Tps1 >= tTps1) {
      tTps1 = Round32Fast(static_cast<double>(ctx.random.Next()) * 20000.0 + 2000.0);
      Tps1 = 0;
      Etat = Round32Fast(static_cast<double>(ctx.random.Next()) * 4.0 + 1.0);
    }
    ctx.TargetZ = static_cast<float>(ctx.TargetZ + step * 0.2);
  } else if (Etat >= 2 && Etat <= 5) {
    const int32_t move = Etat;  // the rest of the call belongs to this move even if it ends
    AddStep(Tps1, step);
    const double half = tTps1 / 2.0;
    if (half > Tps1) {
      const double t = Tps1 - half;
      prctSz = static_cast<float>((std::sin(t / tTps1 * 6.28 + 3.14 / 2.0) + 1.0) / 2.0 * 100.0);
      if (move != 2)
        prctSz2 = static_cast<float>((std::sin(t / half * 6.28 + 3.14 / 2.0) + 1.0) / 2.0 * 100.0);
    } else {
      tTps1 = Round32Fast(static_cast<double>(ctx.random.Next()) * 4000.0 + 1500.0);
      Tps1 = 0;
      Etat = 1;
      prctSz = 100.0f;
      prctSz2 = 100.0f;
    }
    if (move == 2 || move == 4)
      angle_ = static_cast<float>(270.0 + prctSz * 3.6);
    else
      angle_ = static_cast<float>(270.0 - prctSz * 3.6);
    if (move <= 3)
      ctx.TargetZ = static_cast<float>(ctx.TargetZ + step * 0.2);
    else
      ctx.TargetZ = static_cast<float>(ctx.TargetZ + ((100.0 - prctSz2) * 0.004 + 0.2) * step);
    if (move >= 4) ctx.EyeY = static_cast<float>(-((100.0 - prctSz2) * 2.0));
    if (move == 2 || move == 4) {
      if (angle_ >= 360.0f) angle_ -= 360.0f;
    } else if (move == 3) {
      if (angle_ <= 0.0f) angle_ += 360.0f;
    }
  }
  const double a = angle_ / 360.0 * 2.0 * 3.141;
  ctx.EyeX = static_cast<float>(std::cos(a) * ctx.CameraDistance + ctx.TargetX);
  ctx.EyeZ = static_cast<float>(std::sin(a) * ctx.CameraDistance + ctx.TargetZ);
}

}  // namespace vx
