#include "title/title_glyph_row.h"

#include <algorithm>

#include "core/numbers.h"
#include "title/title_quad.h"

namespace vx {

void TitleGlyphRow::Start(const TitleContext& ctx) {
  glyphs_.clear();
  fill_clock.elapsed = 0;
  glyphs_started = 0;
  phase = GlyphRowPhase::kRunning;
  fill_clock.length = 500;
  const double p = LetterPitch(ctx.glyph_width);
  x = static_cast<float>(static_cast<double>(first_letter_x) -
                         p * static_cast<double>(first_letter_x / ctx.glyph_width + 1));
  const int32_t span = Round32Fast(static_cast<double>(ctx.screen_width) - x);
  // The glyph count is a 16-bit number; no screen is wide enough to need more.
  glyph_target = std::min(span / Round32Fast(p) + 1, 32767);
  glyphs_.reserve(static_cast<size_t>(std::max(glyph_target, 0)));
}

void TitleGlyphRow::Step(const TitleContext& ctx, TitleCanvas& canvas) {
  if (phase == GlyphRowPhase::kIdle) return;
  // The frame that uses up the time still creates: with a step that does not divide the
  // length the row would otherwise stop short of the right edge.
  fill_clock.AdvanceClamped(ctx.time_step);
  progress_ = static_cast<float>(fill_clock.Percent());
  to_create_ =
      Round32Fast(static_cast<double>(glyph_target) / 100.0 * static_cast<double>(progress_) -
                  static_cast<double>(glyphs_started));
  const double p = LetterPitch(ctx.glyph_width);
  for (int32_t k = 0; k < to_create_; ++k) {
    glyphs_started = static_cast<int16_t>(glyphs_started + 1);
    TitleRowGlyph& glyph = glyphs_.emplace_back();
    glyph.glyph = Round32Fast(static_cast<double>(ctx.random.Next()) * 56.0);
    glyph.x = x;
    glyph.y = y;
    x = static_cast<float>(static_cast<double>(x) + p);
  }
  for (TitleRowGlyph& glyph : glyphs_) glyph.Step(ctx, canvas);
}

bool TitleGlyphRow::Finished() const {
  if (phase != GlyphRowPhase::kIdle && fill_clock.elapsed < fill_clock.length) return false;
  return std::all_of(glyphs_.begin(), glyphs_.end(),
                     [](const TitleRowGlyph& g) { return g.phase == RowGlyphPhase::kDone; });
}

}  // namespace vx
