// The title's central flash: it grows from half to full size while it fades in, holds and
// fades out, and carries the six streaks that fly out of it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "core/phase_clock.h"
#include "title/flash_streak.h"
#include "title/title_canvas.h"
#include "title/title_context.h"

namespace vx {

enum class FlashPhase : int16_t { kOff = 0, kGrow = 1, kHold = 2, kFade = 3 };

class TitleFlash {
 public:
  // Centres the flash on the screen and restarts it once.
  explicit TitleFlash(const TitleContext& ctx);

  int32_t opacity = 0;
  float x = 0.0f;  // top-left at full size
  float y = 0.0f;
  int32_t height = 0;  // as drawn
  int32_t width = 0;
  int32_t full_height = 0;
  int32_t full_width = 0;
  FlashPhase phase = FlashPhase::kGrow;
  PhaseClock phase_clock;

  // Restarts the phase clock and every streak (drawing two numbers for each); only setting
  // the phase back to kGrow restarts the growth itself.
  void Restart(const TitleContext& ctx);
  // One frame of the flash and then of its streaks. An ended flash no longer moves them.
  void Step(const TitleContext& ctx, TitleCanvas& canvas);

  float DrawX() const { return draw_x_; }
  float DrawY() const { return draw_y_; }
  int16_t StreakOffset() const { return streak_offset_; }
  const FlashStreak& Streak(int k) const { return *streaks_.at(static_cast<size_t>(k - 1)); }

 private:
  float draw_x_ = 0.0f;
  float draw_y_ = 0.0f;
  int16_t streak_offset_ = 0;
  std::array<std::optional<FlashStreak>, 6> streaks_;
};

}  // namespace vx
