#include "title/sweep_band.h"

#include "core/numbers.h"
#include "title/title_quad.h"

namespace vx {

SweepBand::SweepBand(const TitleContext& ctx) {
  height = Round32Fast(ctx.glyph_height / 21.0 * 25.0);
}

void SweepBand::Step(const TitleContext& ctx, TitleCanvas& canvas) {
  if (phase == SweepPhase::kOff) return;
  if (phase == SweepPhase::kDelay) {
    phase_clock.Advance(ctx.time_step);
    if (phase_clock.elapsed > phase_clock.length) {
      phase = SweepPhase::kSweep;
      phase_clock.Restart(600);
    }
  } else if (phase == SweepPhase::kSweep) {
    phase_clock.AdvanceClamped(ctx.time_step);
    percent_ = Round32Fast(phase_clock.Percent());
    // Whole percents: the band moves in steps of (width + 760) / 100 pixels. 64-bit product so
    // no screen width can overflow it.
    const int64_t travel = static_cast<int64_t>(percent_) * (ctx.screen_width + 760);
    x = static_cast<float>(static_cast<double>(travel) / 100.0 - 760.0);
    opacity = Round32Fast(percent_ * (2.0 - 2.0 / 100.0 * percent_) * 5.0);
    if (percent_ == 100) {
      phase_clock.Restart(30);
      phase = SweepPhase::kOff;
    }
  }
  DrawTitleQuad(canvas, 0.0f, 127.0f, x, y, width, height, 57, 512, opacity);
}

}  // namespace vx
