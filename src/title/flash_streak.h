// One of the six streaks of the title's flash: it grows sideways from the centre while it
// brightens, then drifts up or down while it fades.
#pragma once

#include <cstdint>

#include "core/phase_clock.h"
#include "title/title_canvas.h"
#include "title/title_context.h"

namespace vx {

enum class StreakPhase : int16_t { kOff = 0, kGrow = 1, kDrift = 2 };

class FlashStreak {
 public:
  explicit FlashStreak(const TitleContext& ctx);

  // Its length is the growth's; the drift takes twice as long. A new title sets the length
  // and the phase but leaves the elapsed time as the streak left it.
  PhaseClock phase_clock;
  int32_t opacity = 0;
  float x = 0.0f;  // top-left of a streak of size 1 at full size
  float y = 0.0f;
  int32_t height = 0;  // as drawn
  int32_t width = 0;
  int32_t full_height = 0;
  int32_t full_width = 0;  // of a streak of size 1
  StreakPhase phase = StreakPhase::kGrow;
  float drift = 0.0f;  // how far it travels while it fades, in pixels
  int16_t size = 1;    // width multiplier

  void Step(const TitleContext& ctx, TitleCanvas& canvas);

  float DrawX() const { return draw_x_; }
  float DrawY() const { return draw_y_; }

 private:
  float draw_x_ = 0.0f;
  float draw_y_ = 0.0f;
};

}  // namespace vx
