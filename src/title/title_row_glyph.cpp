#include "title/title_row_glyph.h"

#include "core/numbers.h"
#include "title/title_quad.h"

namespace vx {

void TitleRowGlyph::Ramp(const TitleContext& ctx, float scale) {
  phase_clock.AdvanceClamped(ctx.time_step);
  progress_ = static_cast<float>(static_cast<double>(phase_clock.elapsed) /
                                 static_cast<double>(phase_clock.length) * scale);
}

void TitleRowGlyph::DrawLayer1(TitleCanvas& canvas) const {
  DrawGlyphQuad(canvas, glyph, x, y, layer1_opacity, canvas.row_layer1);
}

void TitleRowGlyph::DrawLayer2(TitleCanvas& canvas) const {
  DrawGlyphQuad(canvas, glyph, x, y, layer2_opacity, canvas.row_layer2);
}

void TitleRowGlyph::Step(const TitleContext& ctx, TitleCanvas& canvas) {
  const auto ramp_opacity = [&](double base, double sign) {
    return Round32Fast(base + sign * static_cast<double>(progress_) * 2.55);
  };
  switch (phase) {
    case RowGlyphPhase::kFadeIn:
      Ramp(ctx, 50.0f);
      layer1_opacity = ramp_opacity(0.0, 1.0);
      DrawLayer1(canvas);
      if (progress_ == 50.0f) NextPhase(RowGlyphPhase::kCrossFade);
      break;
    case RowGlyphPhase::kCrossFade:
      Ramp(ctx, 50.0f);
      layer1_opacity = ramp_opacity(127.5, 1.0);
      layer2_opacity = ramp_opacity(0.0, 1.0);
      DrawLayer1(canvas);
      DrawLayer2(canvas);
      if (progress_ == 50.0f) NextPhase(RowGlyphPhase::kBrighten);
      break;
    case RowGlyphPhase::kBrighten:
      Ramp(ctx, 50.0f);
      layer2_opacity = ramp_opacity(127.5, 1.0);
      DrawLayer1(canvas);
      DrawLayer2(canvas);
      if (progress_ == 50.0f) {
        NextPhase(RowGlyphPhase::kFlash);
        phase_clock.length = 10;
      }
      break;
    case RowGlyphPhase::kFlash:
      phase_clock.Advance(ctx.time_step);
      DrawLayer2(canvas);
      if (phase_clock.elapsed >= phase_clock.length) {
        NextPhase(RowGlyphPhase::kDim);
        phase_clock.length = 50;
      }
      break;
    case RowGlyphPhase::kDim:
      Ramp(ctx, 50.0f);
      layer2_opacity = ramp_opacity(255.0, -1.0);
      DrawLayer1(canvas);
      DrawLayer2(canvas);
      if (progress_ == 50.0f) NextPhase(RowGlyphPhase::kFadeSecond);
      break;
    case RowGlyphPhase::kFadeSecond:
      Ramp(ctx, 50.0f);
      layer2_opacity = ramp_opacity(127.5, -1.0);
      layer1_opacity = ramp_opacity(255.0, -1.0);
      DrawLayer1(canvas);
      DrawLayer2(canvas);
      if (progress_ == 50.0f) NextPhase(RowGlyphPhase::kFadeFirst);
      break;
    case RowGlyphPhase::kFadeFirst:
      Ramp(ctx, 50.0f);
      layer1_opacity = ramp_opacity(127.5, -1.0);
      DrawLayer1(canvas);
      if (progress_ == 50.0f) {
        NextPhase(RowGlyphPhase::kDark);
        layer1_opacity = 0;
        layer2_opacity = 0;
        phase_clock.length = Round32Fast(static_cast<double>(ctx.random.Next()) * 1000.0 + 500.0);
      }
      break;
    case RowGlyphPhase::kDark:
      phase_clock.Advance(ctx.time_step);
      if (phase_clock.elapsed >= phase_clock.length) {
        NextPhase(RowGlyphPhase::kBlinkIn);
        phase_clock.length = Round32Fast(static_cast<double>(ctx.random.Next()) * 200.0 + 150.0);
      }
      break;
    case RowGlyphPhase::kBlinkIn:
      Ramp(ctx, 40.0f);
      layer1_opacity = ramp_opacity(0.0, 1.0);
      DrawLayer1(canvas);
      if (progress_ == 40.0f) NextPhase(RowGlyphPhase::kBlinkOut);
      break;
    case RowGlyphPhase::kBlinkOut:
      Ramp(ctx, 30.0f);
      layer1_opacity = ramp_opacity(76.5, -1.0);
      DrawLayer1(canvas);
      if (progress_ == 30.0f) {
        NextPhase(RowGlyphPhase::kDone);
        layer1_opacity = 0;
        phase_clock.length = 30;
      }
      break;
    default:
      break;  // finished, or a phase that does not exist: nothing at all
  }
}

}  // namespace vx
