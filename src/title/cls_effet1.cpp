#include "title/cls_effet1.h"

#include "core/numbers.h"
#include "core/random.h"
#include "scene/scene_context.h"
#include "title/title_quad.h"

namespace vx {

namespace {
// A ramp step: the clock advances and stops at the phase length.
void RampStep(int32_t& elapsed, int32_t length, int32_t step) {
  AddStep(elapsed, step);
  if (elapsed > length) elapsed = length;
}

double Percent(int32_t elapsed, int32_t length) {
  return static_cast<double>(elapsed) / static_cast<double>(length) * 100.0;
}

// Vertical travel of each streak while it fades, in design pixels (21-pixel letters).
constexpr std::array<double, 6> kStreakTravel = {0.0, 25.0, -20.0, 17.0, -16.0, 15.0};
}  // namespace

ClsEffet2::ClsEffet2(const SceneContext& ctx) {
  HTmp = Round32Fast(16.0 / 21.0 * ctx.settings.LetterHeight);
  LTmp = Round32Fast(512.0 / 18.0 * ctx.settings.LetterWidth);
}

void ClsEffet2::DrawQuad(SceneContext& ctx) const {
  DrawTitleQuad(ctx, 0.0f, 49.0f, drawX_, drawY_, LargeurSz, HauteurSz, 16, 512, OpaciteSz,
                nullptr);
}

void ClsEffet2::AfficherEffet(SceneContext& ctx) {
  if (Etat == 0) return;
  const double t = TailleSz;
  const double h = HTmp;
  const double l = LTmp;
  if (Etat == 1) {
    if (elapsed_ < tTps1) {
      RampStep(elapsed_, tTps1, ctx.settings.TimeStep);
      const float p = static_cast<float>(Percent(elapsed_, tTps1));
      progress_ = p;
      OpaciteSz = Round32Fast(p * 2.55);
      HauteurSz = Round32Fast(h / 200.0 * p + h / 2.0);
      LargeurSz = Round32Fast(l / 200.0 * t * p + t * (l / 2.0));
      drawY_ = static_cast<float>(h / 4.0 + YSz - h / 400.0 * p);
      drawX_ = static_cast<float>(l / 4.0 * t + XSz - t * (l / 400.0) * p - l / 2.0 * (t - 1.0));
    } else {
      OpaciteSz = 255;
      Etat = 2;
      elapsed_ = 0;
      tTps1 = 2 * tTps1;
    }
  } else if (Etat == 2) {
    if (elapsed_ < tTps1) {
      RampStep(elapsed_, tTps1, ctx.settings.TimeStep);
      const double p = static_cast<float>(Percent(elapsed_, tTps1));
      const float e = static_cast<float>(p * (2.0 - p / 100.0));
      progress_ = e;
      OpaciteSz = Round32Fast(255.0 - e * 2.55);
      drawY_ = static_cast<float>(DirectionSz / 100.0 * e + YSz);
    } else {
      OpaciteSz = 0;
      Etat = 0;
      elapsed_ = 0;
      tTps1 = Round32Fast(tTps1 / 2.0);
    }
  }
  DrawQuad(ctx);
}

ClsEffet1::ClsEffet1(SceneContext& ctx) {
  const Settings& s = ctx.settings;
  HTmp = Round32Fast(49.0 / 21.0 * s.LetterHeight);
  LTmp = Round32Fast(512.0 / 18.0 * s.LetterWidth);
  HauteurSz = HTmp;
  LargeurSz = LTmp;
  XSz = static_cast<float>(s.ScreenWidthPx / 2.0 - LTmp / 2.0);
  YSz = static_cast<float>(s.ScreenHeightPx / 2.0 - HTmp / 2.0);
  InitFX(ctx);
}

void ClsEffet1::InitFX(SceneContext& ctx) {
  const Settings& s = ctx.settings;
  streakOffset_ = static_cast<int16_t>(Round32Fast(16.5 / 21.0 * s.LetterHeight));
  for (size_t k = 0; k < streaks_.size(); ++k) {
    if (!streaks_[k]) streaks_[k].emplace(ctx);
    ClsEffet2& streak = *streaks_[k];
    streak.Etat = 1;
    streak.DirectionSz = static_cast<float>(kStreakTravel[k] / 21.0 * s.LetterHeight);
    streak.XSz = XSz;
    streak.YSz = static_cast<float>(streakOffset_ + static_cast<double>(YSz));
    streak.tTps1 = Round32Fast(static_cast<double>(ctx.random.Next()) * 200.0 + 100.0);
    const double r = ctx.random.Next();
    streak.TailleSz = static_cast<int16_t>(Round32Fast(k == 0 ? r * 2.0 + 2.0 : r + 1.0));
  }
  elapsed_ = 0;
  duration_ = 300;
}

void ClsEffet1::DrawQuad(SceneContext& ctx) const {
  DrawTitleQuad(ctx, 0.0f, 0.0f, drawX_, drawY_, LargeurSz, HauteurSz, 49, 512, OpaciteSz, nullptr);
}

void ClsEffet1::AfficherEffet(SceneContext& ctx) {
  if (Etat == 0) return;
  const double h = HTmp;
  const double l = LTmp;
  if (Etat == 1) {
    if (elapsed_ < duration_) {
      RampStep(elapsed_, duration_, ctx.settings.TimeStep);
      const double p = Percent(elapsed_, duration_);
      const float e = static_cast<float>(p * (2.0 - p / 100.0));
      progress_ = e;
      OpaciteSz = Round32Fast(e * 2.55);
      HauteurSz = Round32Fast(h / 200.0 * e + h / 2.0);
      LargeurSz = Round32Fast(l / 200.0 * e + l / 2.0);
      drawY_ = static_cast<float>(h / 4.0 + YSz - h / 400.0 * e);
      drawX_ = static_cast<float>(l / 4.0 + XSz - l / 400.0 * e);
    } else {
      OpaciteSz = 255;
      Etat = 2;
      elapsed_ = 0;
      duration_ = Round32Fast(duration_ / 2.0);
    }
  } else if (Etat == 2) {
    if (elapsed_ < duration_) {
      AddStep(elapsed_, ctx.settings.TimeStep);
    } else {
      elapsed_ = 0;
      duration_ = 4 * duration_;
      Etat = 3;
    }
  } else if (Etat == 3) {
    if (elapsed_ < duration_) {
      RampStep(elapsed_, duration_, ctx.settings.TimeStep);
      OpaciteSz = Round32Fast(255.0 - Percent(elapsed_, duration_) * 2.55);
    } else {
      OpaciteSz = 0;
      Etat = 0;
      elapsed_ = 0;
      duration_ = Round32Fast(duration_ / 2.0);
    }
  }
  DrawQuad(ctx);
  for (auto& streak : streaks_)
    if (streak) streak->AfficherEffet(ctx);
}

}  // namespace vx
