// One glyph of the title row: it flashes up in two layers, fades, waits a random time,
// blinks faintly once and goes out.
#pragma once

#include <cstdint>

#include "core/phase_clock.h"
#include "title/title_canvas.h"
#include "title/title_context.h"

namespace vx {

enum class RowGlyphPhase : int16_t {
  kDone = 0,
  kFadeIn = 1,      // the first layer to half
  kCrossFade = 2,   // the first layer to full, the second to half
  kBrighten = 3,    // the second layer to full
  kFlash = 4,       // the second layer alone, briefly
  kDim = 5,         // the second layer back to half
  kFadeSecond = 6,  // the second layer out, the first to half
  kFadeFirst = 7,   // the first layer out
  kDark = 8,        // a random wait
  kBlinkIn = 9,     // a faint blink up ...
  kBlinkOut = 10    // ... and down
};

class TitleRowGlyph {
 public:
  PhaseClock phase_clock{0, 30};
  int32_t layer1_opacity = 0;
  int32_t layer2_opacity = 0;
  float x = 0.0f;
  float y = 0.0f;
  RowGlyphPhase phase = RowGlyphPhase::kFadeIn;
  int32_t glyph = 0;

  // One frame of the phase machine, drawing the layers the phase shows.
  void Step(const TitleContext& ctx, TitleCanvas& canvas);

  float Progress() const { return progress_; }

 private:
  // Advances the phase clock, clamped to its length, and sets progress to its fraction x scale.
  void Ramp(const TitleContext& ctx, float scale);
  void DrawLayer1(TitleCanvas& canvas) const;
  void DrawLayer2(TitleCanvas& canvas) const;
  void NextPhase(RowGlyphPhase next) {
    phase = next;
    phase_clock.elapsed = 0;
  }

  float progress_ = 0.0f;
};

}  // namespace vx
