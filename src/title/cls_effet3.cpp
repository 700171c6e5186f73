#include "title/cls_effet3.h"

#include "core/numbers.h"
#include "scene/scene_context.h"
#include "title/title_quad.h"

namespace vx {

ClsEffet3::ClsEffet3(const SceneContext& ctx) {
  HauteurSz = Round32Fast(ctx.settings.LetterHeight / 21.0 * 25.0);
}

void ClsEffet3::DrawQuad(SceneContext& ctx) const {
  DrawTitleQuad(ctx, 0.0f, 127.0f, XSz, YSz, LargeurSz, HauteurSz, 57, 512, OpaciteSz, nullptr);
}

void ClsEffet3::AfficherEffet(SceneContext& ctx) {
  if (Etat == 0) return;
  if (Etat == 1) {
    AddStep(elapsed_, ctx.settings.TimeStep);
    if (elapsed_ > duration_) {
      Etat = 2;
      elapsed_ = 0;
      duration_ = 600;
    }
  } else if (Etat == 2) {
    AddStep(elapsed_, ctx.settings.TimeStep);
    if (elapsed_ > duration_) elapsed_ = duration_;
    percent_ = Round32Fast(static_cast<double>(elapsed_) / duration_ * 100.0);
    // Whole percents: the band moves in steps of (width + 760) / 100 pixels. 64-bit product so
    // no screen width can overflow it.
    const int64_t travel = static_cast<int64_t>(percent_) * (ctx.settings.ScreenWidthPx + 760);
    XSz = static_cast<float>(static_cast<double>(travel) / 100.0 - 760.0);
    OpaciteSz = Round32Fast(percent_ * (2.0 - 2.0 / 100.0 * percent_) * 5.0);
    if (percent_ == 100) {
      duration_ = 30;
      Etat = 0;
      elapsed_ = 0;
    }
  }
  DrawQuad(ctx);
}

}  // namespace vx
