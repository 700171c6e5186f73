#include "title/cls_lettre_normal.h"

#include "core/numbers.h"
#include "core/random.h"
#include "scene/scene_context.h"
#include "title/title_quad.h"

namespace vx {

namespace {
int32_t OpacityOf(double base, double sign, float percent) {
  return Round32Fast(base + sign * static_cast<double>(percent) * 2.55);
}
}  // namespace

ClsLettreNormal::ClsLettreNormal(Random& random) {
  tTps2 = Round32Fast(static_cast<double>(random.Next()) * 500.0 + 20.0);
  randomMode_ = static_cast<int16_t>(Round32Fast(static_cast<double>(random.Next())));
}

float ClsLettreNormal::PercentOfPhase() const {
  return static_cast<float>(static_cast<double>(elapsed_) / static_cast<double>(tTps1) * 100.0);
}

void ClsLettreNormal::SwapStep(SceneContext& ctx) {
  AddStep(swapElapsed_, ctx.settings.TimeStep);
  if (swapElapsed_ >= tTps2) {
    CarBiz = Round32Fast(static_cast<double>(ctx.random.Next()) * 56.0);
    swapElapsed_ = 0;
  }
}

void ClsLettreNormal::DrawRealGlyph(SceneContext& ctx) const {
  DrawGlyphQuad(ctx, CarNorm, XSz, YSz, OpaciteSz, ctx.title_real_glyph);
}

void ClsLettreNormal::DrawRandomGlyph(SceneContext& ctx) const {
  DrawGlyphQuad(ctx, CarBiz, XSz, YSz, OpaciteSz2, ctx.title_random_glyph);
}

void ClsLettreNormal::AfficherCar(SceneContext& ctx, int16_t& NbrTmp) {
  if (Etat < 1 || Etat > 6) return;
  AddStep(elapsed_, ctx.settings.TimeStep);
  const bool random_mode = randomMode_ == 1;
  switch (Etat) {
    case 1:  // delay: nothing shows yet
      if (elapsed_ >= tTps1) NextPhase(2, 400);
      break;
    case 2:  // fade-in
      if (elapsed_ >= tTps1) {
        percent_ = 100.0f;
        const int32_t hold = Round32Fast(static_cast<double>(ctx.random.Next()) * 1000.0 + 30.0);
        NextPhase(3, hold);
        holdTime_ = static_cast<int16_t>(hold);
      } else {
        percent_ = PercentOfPhase();
      }
      if (random_mode) {
        OpaciteSz2 = OpacityOf(0.0, 1.0, percent_);
        DrawRandomGlyph(ctx);
        SwapStep(ctx);
      } else {
        OpaciteSz = OpacityOf(0.0, 1.0, percent_);
        DrawRealGlyph(ctx);
      }
      break;
    case 3:  // hold
      if (elapsed_ >= tTps1) NextPhase(4, 600);
      if (random_mode) {
        DrawRandomGlyph(ctx);
        SwapStep(ctx);
      } else {
        DrawRealGlyph(ctx);
      }
      break;
    case 4:  // cross-fade from the random glyph to the real one
      if (elapsed_ > tTps1) {
        percent_ = 100.0f;
        NextPhase(5, static_cast<int16_t>(2500 - holdTime_));
      } else {
        percent_ = PercentOfPhase();
      }
      if (random_mode) {
        OpaciteSz = OpacityOf(0.0, 1.0, percent_);
        OpaciteSz2 = OpacityOf(255.0, -1.0, percent_);
        DrawRealGlyph(ctx);
        DrawRandomGlyph(ctx);
      } else {
        DrawRealGlyph(ctx);
      }
      break;
    case 5:  // hold, as long as every letter's phases 3 and 5 together
      DrawRealGlyph(ctx);
      if (elapsed_ >= tTps1) NextPhase(6, 500);
      break;
    case 6:  // fade-out
      if (elapsed_ > tTps1) {
        percent_ = 100.0f;
        NextPhase(0, 250);
        NbrTmp = static_cast<int16_t>(NbrTmp + 1);
        OpaciteSz = 0;
        OpaciteSz2 = 0;
      } else {
        percent_ = PercentOfPhase();
      }
      OpaciteSz = OpacityOf(255.0, -1.0, percent_);
      DrawRealGlyph(ctx);
      break;
    default:
      break;
  }
}

}  // namespace vx
