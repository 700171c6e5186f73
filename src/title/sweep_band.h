// The title's band of light: after a short delay it sweeps once across the whole screen along
// the title row, invisible at both ends and brightest half-way.
#pragma once

#include <cstdint>

#include "core/phase_clock.h"
#include "title/title_canvas.h"
#include "title/title_context.h"

namespace vx {

enum class SweepPhase : int16_t { kOff = 0, kDelay = 1, kSweep = 2 };

class SweepBand {
 public:
  explicit SweepBand(const TitleContext& ctx);

  int32_t opacity = 0;
  float x = -760.0f;  // left edge
  float y = 0.0f;     // top: the title row less 2 pixels
  int32_t height = 0;
  int32_t width = 760;
  SweepPhase phase = SweepPhase::kDelay;
  PhaseClock phase_clock{0, 30};

  void Step(const TitleContext& ctx, TitleCanvas& canvas);

  int32_t PercentSwept() const { return percent_; }

 private:
  int32_t percent_ = 0;
};

}  // namespace vx
