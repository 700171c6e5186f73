// One column of 3D glyphs standing at a fixed X and Z: it grows downward glyph by glyph,
// fades with its distance from the eye, and re-seeds itself once all its glyphs are done.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "core/phase_clock.h"
#include "core/random.h"
#include "scene/glyph.h"
#include "scene/scene_settings.h"
#include "scene/viewpoint.h"

namespace vx {

enum class ColumnPhase : int32_t { kStopped = 0, kActive = 1 };

class GlyphColumn {
 public:
  // The most glyphs one cycle can have; the glyph storage is reserved for it once.
  static constexpr int32_t kMaxGlyphs = 80;

  // Draws the growth time, then y, x and z, in that order.
  GlyphColumn(const Viewpoint& view, Random& random);

  int16_t glyphs_started = 0;
  int32_t glyph_target = 60;  // glyphs in this cycle
  int32_t glyphs_finished = 0;
  int32_t distance_fade = 0;  // percent; at 0 or below the column is not drawn
  float x = 0.0f;
  float y = 0.0f;  // where the next glyph goes
  float z = 0.0f;
  PhaseClock grow_clock;  // over its length all the cycle's glyphs appear
  ColumnPhase phase = ColumnPhase::kActive;

  void Update(const Viewpoint& view, const SceneSettings& settings, Random& random);
  void Draw(GlyphCanvas& canvas) const;

  // Glyph i (1-based) is Glyphs()[i - 1].
  std::span<const Glyph> Glyphs() const { return glyphs_; }
  float Progress() const { return progress_; }

 private:
  void Restart(const Viewpoint& view, Random& random);

  std::vector<Glyph> glyphs_;
  float progress_ = 0.0f;
};

}  // namespace vx
