#include "title/title_letter.h"

#include "core/numbers.h"
#include "title/title_quad.h"

namespace vx {

namespace {
int32_t OpacityOf(double base, double sign, float percent) {
  return Round32Fast(base + sign * static_cast<double>(percent) * 2.55);
}
}  // namespace

TitleLetter::TitleLetter(Random& random) {
  swap_clock.length = Round32Fast(static_cast<double>(random.Next()) * 500.0 + 20.0);
  random_mode_ = static_cast<int16_t>(Round32Fast(static_cast<double>(random.Next())));
}

void TitleLetter::SwapStep(const TitleContext& ctx) {
  swap_clock.Advance(ctx.time_step);
  if (swap_clock.elapsed >= swap_clock.length) {
    random_glyph = Round32Fast(static_cast<double>(ctx.random.Next()) * 56.0);
    swap_clock.elapsed = 0;
  }
}

void TitleLetter::DrawRealGlyph(TitleCanvas& canvas) const {
  DrawGlyphQuad(canvas, real_glyph, x, y, real_opacity, canvas.real_glyph);
}

void TitleLetter::DrawRandomGlyph(TitleCanvas& canvas) const {
  DrawGlyphQuad(canvas, random_glyph, x, y, random_opacity, canvas.random_glyph);
}

void TitleLetter::Step(const TitleContext& ctx, TitleCanvas& canvas, int16_t& letters_finished) {
  if (phase < TitleLetterPhase::kDelay || phase > TitleLetterPhase::kFadeOut) return;
  phase_clock.Advance(ctx.time_step);
  const int32_t elapsed = phase_clock.elapsed;
  const int32_t length = phase_clock.length;
  const bool random_mode = random_mode_ == 1;
  switch (phase) {
    case TitleLetterPhase::kDelay:  // nothing shows yet
      if (elapsed >= length) NextPhase(TitleLetterPhase::kFadeIn, 400);
      break;
    case TitleLetterPhase::kFadeIn:
      if (elapsed >= length) {
        percent_ = 100.0f;
        const int32_t hold = Round32Fast(static_cast<double>(ctx.random.Next()) * 1000.0 + 30.0);
        NextPhase(TitleLetterPhase::kHold, hold);
        hold_time_ = static_cast<int16_t>(hold);
      } else {
        percent_ = PercentOfPhase();
      }
      if (random_mode) {
        random_opacity = OpacityOf(0.0, 1.0, percent_);
        DrawRandomGlyph(canvas);
        SwapStep(ctx);
      } else {
        real_opacity = OpacityOf(0.0, 1.0, percent_);
        DrawRealGlyph(canvas);
      }
      break;
    case TitleLetterPhase::kHold:
      if (elapsed >= length) NextPhase(TitleLetterPhase::kCrossFade, 600);
      if (random_mode) {
        DrawRandomGlyph(canvas);
        SwapStep(ctx);
      } else {
        DrawRealGlyph(canvas);
      }
      break;
    case TitleLetterPhase::kCrossFade:
      if (elapsed > length) {
        percent_ = 100.0f;
        NextPhase(TitleLetterPhase::kShow, static_cast<int16_t>(2500 - hold_time_));
      } else {
        percent_ = PercentOfPhase();
      }
      if (random_mode) {
        real_opacity = OpacityOf(0.0, 1.0, percent_);
        random_opacity = OpacityOf(255.0, -1.0, percent_);
        DrawRealGlyph(canvas);
        DrawRandomGlyph(canvas);
      } else {
        DrawRealGlyph(canvas);
      }
      break;
    case TitleLetterPhase::kShow:  // as long as every letter's hold and show together
      DrawRealGlyph(canvas);
      if (elapsed >= length) NextPhase(TitleLetterPhase::kFadeOut, 500);
      break;
    case TitleLetterPhase::kFadeOut:
      if (elapsed > length) {
        percent_ = 100.0f;
        NextPhase(TitleLetterPhase::kIdle, 250);
        letters_finished = static_cast<int16_t>(letters_finished + 1);
        real_opacity = 0;
        random_opacity = 0;
      } else {
        percent_ = PercentOfPhase();
      }
      real_opacity = OpacityOf(255.0, -1.0, percent_);
      DrawRealGlyph(canvas);
      break;
    default:
      break;
  }
}

}  // namespace vx
