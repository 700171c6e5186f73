// One glyph of a 3D text line: a textured square that fades in, cross-fades between two
// layers, holds, fades out and finishes, flickering to random atlas cells meanwhile.
#pragma once

#include <cstdint>

#include "core/random.h"

namespace vx {

struct SceneContext;

// Atlas cell geometry: 50 x 58 texel cells, ten to a row, in a 512 x 512 texture.
struct CellOrigin {
  float u, v;
};
inline constexpr float kCellDu = 0.09765625f;  // 50 / 512
inline constexpr float kCellDv = 0.11328125f;  // 58 / 512
// Texture origin of character NumLettre (cell NumLettre - 1). Character 0, which the random
// draw yields half as often as the others, shows cell 55 like character 56, so that every
// cell comes up equally often and nothing is sampled from outside the grid.
CellOrigin CellForCharacter(int32_t NumLettre);

class ClsLettre3D1 {
 public:
  // Draws DecalSz, NumLettreSz and tTps2, in that order.
  explicit ClsLettre3D1(Random& random);

  int32_t OpaciteSz = 255;
  int32_t OpaciteSz2 = 0;
  int32_t DecalSz = 0;
  int32_t NumLettreSz = 0;
  float XSz = 0.0f, YSz = 0.0f, ZSz = 0.0f;
  int32_t tTps1 = 0;
  int32_t Tps1 = 0;
  int32_t tTps2 = 0;
  int32_t Tps2 = 0;
  int32_t Etat = 1;  // 1 appear, 2 cross-fade, 3 hold, 4 fade out, 0 finished

  // Advances one frame; increments TotSz in the call in which the letter finishes.
  void Calculer(SceneContext& ctx, int32_t& TotSz, const int32_t& opDist);
  // Draws the layers the current phase shows, if any corner of the quad is on screen.
  void AfficherLettre(SceneContext& ctx) const;

 private:
  // Fills the context's SceneQuad (positions and texture coordinates) and reports whether any
  // corner projects into the viewport. Both layers share it, so it is done once per letter.
  bool BuildQuad(SceneContext& ctx) const;
  void DrawLayer(SceneContext& ctx, int32_t opacity, bool second) const;
};

}  // namespace vx
