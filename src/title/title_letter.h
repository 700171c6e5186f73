// One letter of a title: waits, fades in (about half of them first as a flickering random
// glyph that later cross-fades into the real one), holds, and fades out with the others.
#pragma once

#include <cstdint>

#include "core/phase_clock.h"
#include "core/random.h"
#include "title/title_canvas.h"
#include "title/title_context.h"

namespace vx {

enum class TitleLetterPhase : int16_t {
  kIdle = 0,  // before the start and after the end
  kDelay = 1,
  kFadeIn = 2,
  kHold = 3,
  kCrossFade = 4,  // from the random glyph to the real one
  kShow = 5,
  kFadeOut = 6
};

class TitleLetter {
 public:
  // Draws the swap clock's length, then whether the letter starts as a random glyph.
  explicit TitleLetter(Random& random);

  PhaseClock phase_clock{0, 250};
  PhaseClock swap_clock;  // time until the random glyph changes
  int32_t real_opacity = 0;
  int32_t random_opacity = 0;
  float x = 0.0f;
  float y = 0.0f;
  TitleLetterPhase phase = TitleLetterPhase::kIdle;
  int32_t real_glyph = 0;    // the glyph of the title's character
  int32_t random_glyph = 0;  // the flickering stand-in

  // One frame. Adds 1 to letters_finished in the frame in which the letter ends.
  void Step(const TitleContext& ctx, TitleCanvas& canvas, int16_t& letters_finished);

  bool StartsRandom() const { return random_mode_ == 1; }
  int16_t HoldTime() const { return hold_time_; }
  float Percent() const { return percent_; }
  // For tests that pin one mode.
  void SetStartsRandom(bool random) { random_mode_ = random ? 1 : 0; }

 private:
  void SwapStep(const TitleContext& ctx);
  void NextPhase(TitleLetterPhase next, int32_t length) {
    phase = next;
    phase_clock.Restart(length);
  }
  float PercentOfPhase() const { return static_cast<float>(phase_clock.Percent()); }
  void DrawRealGlyph(TitleCanvas& canvas) const;
  void DrawRandomGlyph(TitleCanvas& canvas) const;

  int16_t random_mode_ = 0;
  int16_t hold_time_ = 0;
  float percent_ = 0.0f;
};

}  // namespace vx
