#include "title/flash_streak.h"

#include "core/numbers.h"
#include "title/title_quad.h"

namespace vx {

FlashStreak::FlashStreak(const TitleContext& ctx) {
  full_height = Round32Fast(16.0 / 21.0 * ctx.glyph_height);
  full_width = Round32Fast(512.0 / 18.0 * ctx.glyph_width);
}

void FlashStreak::Step(const TitleContext& ctx, TitleCanvas& canvas) {
  if (phase == StreakPhase::kOff) return;
  const double t = size;
  const double h = full_height;
  const double l = full_width;
  if (phase == StreakPhase::kGrow) {
    if (phase_clock.elapsed < phase_clock.length) {
      phase_clock.AdvanceClamped(ctx.time_step);
      const float p = static_cast<float>(phase_clock.Percent());
      opacity = Round32Fast(p * 2.55);
      height = Round32Fast(h / 200.0 * p + h / 2.0);
      width = Round32Fast(l / 200.0 * t * p + t * (l / 2.0));
      draw_y_ = static_cast<float>(h / 4.0 + y - h / 400.0 * p);
      draw_x_ = static_cast<float>(l / 4.0 * t + x - t * (l / 400.0) * p - l / 2.0 * (t - 1.0));
    } else {
      opacity = 255;
      phase = StreakPhase::kDrift;
      phase_clock.Restart(2 * phase_clock.length);
    }
  } else if (phase == StreakPhase::kDrift) {
    if (phase_clock.elapsed < phase_clock.length) {
      phase_clock.AdvanceClamped(ctx.time_step);
      const double p = static_cast<float>(phase_clock.Percent());
      const float e = static_cast<float>(p * (2.0 - p / 100.0));
      opacity = Round32Fast(255.0 - e * 2.55);
      draw_y_ = static_cast<float>(drift / 100.0 * e + y);
    } else {
      opacity = 0;
      phase = StreakPhase::kOff;
      phase_clock.Restart(Round32Fast(phase_clock.length / 2.0));
    }
  }
  DrawTitleQuad(canvas, 0.0f, 49.0f, draw_x_, draw_y_, width, height, 16, 512, opacity);
}

}  // namespace vx
