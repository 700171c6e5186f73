#include "scene/glyph.h"

#include "core/numbers.h"
#include "render/vertices.h"

namespace vx {

CellOrigin GlyphCellOrigin(int32_t cell) {
  const int32_t k = (cell == 0 ? 56 : cell) - 1;
  const int32_t c = k % 10;
  const int32_t r = k / 10;
  return {static_cast<float>(c * 50) / 512.0f, static_cast<float>(r * 58) / 512.0f};
}

Glyph::Glyph(Random& random) {
  hold_length = Round32Fast(static_cast<double>(random.Next()) * 300.0 + 50.0);
  cell = Round32Fast(static_cast<double>(random.Next()) * 56.0);
  flicker_clock.length = Round32Fast(static_cast<double>(random.Next()) * 1000.0 + 100.0);
}

void Glyph::Update(int32_t time_step, int32_t distance_fade, Random& random,
                   int32_t& glyphs_finished) {
  if (phase == GlyphPhase::kDone) return;
  PhaseClock& clock = phase_clock;
  const double fade = distance_fade;
  double p = 0.0;
  switch (phase) {
    case GlyphPhase::kFadeIn:
      clock.Advance(time_step);
      if (clock.elapsed < clock.length) {
        p = clock.Percent();
      } else {
        clock.Restart(Round32Fast(hold_length / 2.0));
        phase = GlyphPhase::kCrossFade;
        p = 100.0;
      }
      layer1_opacity = Round32Fast(p * 2.55 / 100.0 * fade);
      break;
    case GlyphPhase::kCrossFade:
      clock.Advance(time_step);
      if (clock.elapsed < clock.length) {
        p = clock.Percent();
      } else {
        phase = GlyphPhase::kHold;
        clock.Restart(hold_length);
        p = 100.0;
      }
      layer1_opacity = Round32Fast((255.0 - p * 2.55) / 100.0 * fade);
      layer2_opacity = Round32Fast(p * 2.55 / 100.0 * fade);
      break;
    case GlyphPhase::kHold:
      clock.Advance(time_step);
      if (clock.elapsed >= clock.length) {
        phase = GlyphPhase::kFadeOut;
        clock.Restart(Round32Fast(static_cast<double>(random.Next()) * 200.0 + 150.0));
      }
      layer2_opacity = Round32Fast(fade * 2.55);
      break;
    case GlyphPhase::kFadeOut:
      clock.Advance(time_step);
      if (clock.elapsed < clock.length) {
        p = clock.Percent();
        layer2_opacity = Round32Fast((255.0 - p * 2.55) / 100.0 * fade);
      } else {
        phase = GlyphPhase::kDone;
        clock.Restart(0);
        glyphs_finished += 1;
      }
      break;
    default:
      break;
  }
  flicker_clock.Advance(time_step);
  if (flicker_clock.elapsed >= flicker_clock.length) {
    cell = Round32Fast(static_cast<double>(random.Next()) * 56.0);
    flicker_clock.Restart(Round32Fast(static_cast<double>(random.Next()) * 1000.0 + 100.0));
  }
}

void Glyph::Draw(GlyphCanvas& canvas) const {
  if (phase < GlyphPhase::kFadeIn || phase > GlyphPhase::kFadeOut) return;
  if (!BuildQuad(canvas)) return;
  if (phase <= GlyphPhase::kCrossFade) DrawLayer(canvas, layer1_opacity, canvas.layer1);
  if (phase >= GlyphPhase::kCrossFade) DrawLayer(canvas, layer2_opacity, canvas.layer2);
}

bool Glyph::BuildQuad(GlyphCanvas& canvas) const {
  const CellOrigin origin = GlyphCellOrigin(cell);
  const double w = canvas.glyph_width;
  const double h = canvas.glyph_height;
  const float x1 = static_cast<float>(x + w);
  const float y1 = static_cast<float>(y + h);
  auto& q = canvas.quad;
  q[0] = MakeSceneVertex(x, y, z, 0, 0, origin.u, origin.v);
  q[1] = MakeSceneVertex(x1, y, z, 0, 0, origin.u + kCellDu, origin.v);
  q[2] = MakeSceneVertex(x, y1, z, 0, 0, origin.u, origin.v + kCellDv);
  q[3] = MakeSceneVertex(x1, y1, z, 0, 0, origin.u + kCellDu, origin.v + kCellDv);
  // Most corners are clearly in or out; only those at an edge need the exact projection.
  for (const SceneVertex& v : q) {
    const D3DVector corner{v.x, v.y, v.z};
    switch (canvas.projection.Classify(corner)) {
      case ScreenProjection::Side::kOn:
        return true;
      case ScreenProjection::Side::kNear:
        if (canvas.projection.IsOnScreen(corner)) return true;
        break;
      case ScreenProjection::Side::kOff:
        break;
    }
  }
  return false;
}

void Glyph::DrawLayer(GlyphCanvas& canvas, int32_t opacity, Texture* texture) {
  const int32_t colour = PackColour(opacity, 0xFFFFFF);
  for (SceneVertex& v : canvas.quad) v.diffuse = colour;
  canvas.device.SetTexture(0, texture);
  canvas.device.SetVertexShader(kFvfSceneVertex);
  canvas.device.DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, canvas.quad.data(), sizeof(SceneVertex));
}

}  // namespace vx
