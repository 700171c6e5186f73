// One glyph of a 3D column: a textured square that fades in, cross-fades between two layers,
// holds, fades out and finishes, flickering to random atlas cells meanwhile.
#pragma once

#include <cstdint>

#include "core/phase_clock.h"
#include "core/random.h"
#include "scene/glyph_canvas.h"

namespace vx {

// Atlas cell geometry: 50 x 58 texel cells, ten to a row, in a 512 x 512 texture.
struct CellOrigin {
  float u, v;
};
inline constexpr float kCellDu = 0.09765625f;  // 50 / 512
inline constexpr float kCellDv = 0.11328125f;  // 58 / 512
// Texture origin of cell number `cell` (atlas cell cell - 1). Number 0, which the random draw
// yields half as often as the others, shows cell 55 like number 56, so that every cell comes
// up equally often and nothing is sampled from outside the grid.
CellOrigin GlyphCellOrigin(int32_t cell);

enum class GlyphPhase : int32_t { kDone = 0, kFadeIn = 1, kCrossFade = 2, kHold = 3, kFadeOut = 4 };

class Glyph {
 public:
  // Draws hold_length, cell and the flicker clock's length, in that order.
  explicit Glyph(Random& random);

  int32_t layer1_opacity = 255;
  int32_t layer2_opacity = 0;
  int32_t hold_length = 0;  // the hold phase's length; the cross-fade takes half of it
  int32_t cell = 0;         // the atlas cell shown, 0 .. 56
  float x = 0.0f, y = 0.0f, z = 0.0f;
  PhaseClock phase_clock;    // time in the current phase
  PhaseClock flicker_clock;  // time until the next random cell
  GlyphPhase phase = GlyphPhase::kFadeIn;

  // Advances one frame; adds 1 to glyphs_finished in the call in which the glyph finishes.
  void Update(int32_t time_step, int32_t distance_fade, Random& random, int32_t& glyphs_finished);
  // Draws the layers the current phase shows, if any corner of the quad is on screen.
  void Draw(GlyphCanvas& canvas) const;

 private:
  // Fills the canvas's quad (positions and texture coordinates) and reports whether any corner
  // projects into the viewport. Both layers share it, so it is done once per glyph.
  bool BuildQuad(GlyphCanvas& canvas) const;
  static void DrawLayer(GlyphCanvas& canvas, int32_t opacity, Texture* texture);
};

}  // namespace vx
