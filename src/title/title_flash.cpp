#include "title/title_flash.h"

#include "core/numbers.h"
#include "title/title_quad.h"

namespace vx {

namespace {
// Vertical travel of each streak while it fades, in design pixels (21-pixel glyphs).
constexpr std::array<double, 6> kStreakTravel = {0.0, 25.0, -20.0, 17.0, -16.0, 15.0};
}  // namespace

TitleFlash::TitleFlash(const TitleContext& ctx) {
  full_height = Round32Fast(49.0 / 21.0 * ctx.glyph_height);
  full_width = Round32Fast(512.0 / 18.0 * ctx.glyph_width);
  height = full_height;
  width = full_width;
  x = static_cast<float>(ctx.screen_width / 2.0 - full_width / 2.0);
  y = static_cast<float>(ctx.screen_height / 2.0 - full_height / 2.0);
  Restart(ctx);
}

void TitleFlash::Restart(const TitleContext& ctx) {
  streak_offset_ = static_cast<int16_t>(Round32Fast(16.5 / 21.0 * ctx.glyph_height));
  for (size_t k = 0; k < streaks_.size(); ++k) {
    if (!streaks_[k]) streaks_[k].emplace(ctx);
    FlashStreak& streak = *streaks_[k];
    streak.phase = StreakPhase::kGrow;
    streak.drift = static_cast<float>(kStreakTravel[k] / 21.0 * ctx.glyph_height);
    streak.x = x;
    streak.y = static_cast<float>(streak_offset_ + static_cast<double>(y));
    streak.phase_clock.length = Round32Fast(static_cast<double>(ctx.random.Next()) * 200.0 + 100.0);
    const double r = ctx.random.Next();
    streak.size = static_cast<int16_t>(Round32Fast(k == 0 ? r * 2.0 + 2.0 : r + 1.0));
  }
  phase_clock.Restart(300);
}

void TitleFlash::Step(const TitleContext& ctx, TitleCanvas& canvas) {
  if (phase == FlashPhase::kOff) return;
  const double h = full_height;
  const double l = full_width;
  if (phase == FlashPhase::kGrow) {
    if (phase_clock.elapsed < phase_clock.length) {
      phase_clock.AdvanceClamped(ctx.time_step);
      const double p = phase_clock.Percent();
      const float e = static_cast<float>(p * (2.0 - p / 100.0));
      opacity = Round32Fast(e * 2.55);
      height = Round32Fast(h / 200.0 * e + h / 2.0);
      width = Round32Fast(l / 200.0 * e + l / 2.0);
      draw_y_ = static_cast<float>(h / 4.0 + y - h / 400.0 * e);
      draw_x_ = static_cast<float>(l / 4.0 + x - l / 400.0 * e);
    } else {
      opacity = 255;
      phase = FlashPhase::kHold;
      phase_clock.Restart(Round32Fast(phase_clock.length / 2.0));
    }
  } else if (phase == FlashPhase::kHold) {
    if (phase_clock.elapsed < phase_clock.length) {
      phase_clock.Advance(ctx.time_step);
    } else {
      phase_clock.Restart(4 * phase_clock.length);
      phase = FlashPhase::kFade;
    }
  } else if (phase == FlashPhase::kFade) {
    if (phase_clock.elapsed < phase_clock.length) {
      phase_clock.AdvanceClamped(ctx.time_step);
      opacity = Round32Fast(255.0 - phase_clock.Percent() * 2.55);
    } else {
      opacity = 0;
      phase = FlashPhase::kOff;
      phase_clock.Restart(Round32Fast(phase_clock.length / 2.0));
    }
  }
  DrawTitleQuad(canvas, 0.0f, 0.0f, draw_x_, draw_y_, width, height, 49, 512, opacity);
  for (auto& streak : streaks_)
    if (streak) streak->Step(ctx, canvas);
}

}  // namespace vx
