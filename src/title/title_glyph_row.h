// The title row: a row of random glyphs on the title letters' pitch grid that fills the
// screen from left to right, each glyph running its own flash, wait and blink.
#pragma once

#include <cstdint>
#include <vector>

#include "core/phase_clock.h"
#include "title/title_canvas.h"
#include "title/title_context.h"
#include "title/title_row_glyph.h"

namespace vx {

enum class GlyphRowPhase : int32_t { kIdle = 0, kRunning = 1 };

class TitleGlyphRow {
 public:
  int16_t glyphs_started = 0;
  int32_t glyph_target = 0;    // glyphs it takes to reach the right edge
  int32_t first_letter_x = 0;  // the title's layout origin, which the grid passes through
  float x = 0.0f;              // where the next glyph goes
  float y = 0.0f;
  PhaseClock fill_clock;  // over its length the row fills the screen
  GlyphRowPhase phase = GlyphRowPhase::kIdle;

  // Restarts the row; the caller sets y and first_letter_x first.
  void Start(const TitleContext& ctx);
  // One frame: adds the glyphs due by now, then lets every glyph step and draw itself.
  void Step(const TitleContext& ctx, TitleCanvas& canvas);

  // Every glyph has been created and every glyph has gone out.
  bool Finished() const;

  const std::vector<TitleRowGlyph>& Glyphs() const { return glyphs_; }

 private:
  std::vector<TitleRowGlyph> glyphs_;  // creation order, left to right
  int32_t to_create_ = 0;
  float progress_ = 0.0f;
};

}  // namespace vx
