#include "scene/glyph_column.h"

#include <algorithm>
#include <cmath>

#include "core/numbers.h"

namespace vx {

GlyphColumn::GlyphColumn(const Viewpoint& view, Random& random) {
  glyph_target = 60;
  grow_clock.length = Round32Fast((static_cast<double>(random.Next()) * 10.0 + 5.0) * 60.0);
  y = random.Next() * 250.0f - 500.0f;
  x = view.eye.x + 300.0f - random.Next() * 600.0f;
  z = view.target.z - (view.camera_distance - 1000.0f) * random.Next();
  phase = ColumnPhase::kActive;
}

void GlyphColumn::Update(const Viewpoint& view, const SceneSettings& settings, Random& random) {
  if (phase == ColumnPhase::kStopped) return;
  if (glyphs_started != glyph_target) {
    grow_clock.Advance(settings.time_step);
    if (grow_clock.elapsed >= grow_clock.length)
      progress_ = 100.0f;
    else
      progress_ = static_cast<float>(grow_clock.Percent());
    const int16_t n =
        ToInt16(glyph_target / 100.0 * static_cast<double>(progress_) - glyphs_started).value_or(0);
    const double h = settings.glyph_height;
    // Reserved with the first glyph, not at construction, so idle columns cost no storage.
    if (n > 0 && glyphs_.capacity() < size_t{kMaxGlyphs}) glyphs_.reserve(size_t{kMaxGlyphs});
    for (int32_t i = 0; i < n; ++i) {
      glyphs_started += 1;
      Glyph& glyph = glyphs_.emplace_back(random);
      glyph.x = x;
      glyph.y = y;
      glyph.z = z;
      y = static_cast<float>(y + h - h / 5.8);
    }
  }
  if (glyphs_.empty()) return;

  const double dz = z - view.eye.z;
  const double dx = x - view.eye.x;
  const int32_t d = Round32Fast(std::sqrt(dz * dz + dx * dx));
  distance_fade = Round32Fast(100.0 - (d - 500) / 1000.0 * 100.0);
  if (distance_fade > 100) distance_fade = 100;

  for (Glyph& glyph : glyphs_)
    glyph.Update(settings.time_step, distance_fade, random, glyphs_finished);

  if (glyphs_finished == glyph_target) Restart(view, random);
}

void GlyphColumn::Restart(const Viewpoint& view, Random& random) {
  progress_ = 0.0f;
  grow_clock.elapsed = 0;
  y = random.Next() * 250.0f - 750.0f;
  x = view.target.x + 300.0f - random.Next() * 600.0f;
  z = view.target.z - (view.camera_distance - 1000.0f) * random.Next();
  grow_clock.length = Round32Fast(static_cast<double>(random.Next()) * 800.0 + 800.0);
  glyph_target = Round32Fast(static_cast<double>(random.Next()) * 40.0 + 40.0);
  glyphs_finished = 0;
  glyphs_started = 0;
  glyphs_.clear();  // keeps the reserved storage
}

void GlyphColumn::Draw(GlyphCanvas& canvas) const {
  if (glyphs_.empty() || distance_fade <= 0) return;
  // Columns behind the eye or beside the view are common; their glyphs would each fail the
  // corner test, four projections apiece. The box spans every glyph's quad: the glyphs share
  // one x and z and stand one below the other.
  const Glyph& first = glyphs_.front();
  const float top = std::min(first.y, glyphs_.back().y);
  const float bottom = std::max(first.y, glyphs_.back().y);
  const float w = static_cast<float>(canvas.glyph_width),
              h = static_cast<float>(canvas.glyph_height);
  const D3DVector low{std::min(first.x, first.x + w), std::min(top, top + h), first.z};
  const D3DVector high{std::max(first.x, first.x + w), std::max(bottom, bottom + h), first.z};
  if (!canvas.projection.MayShowBox(low, high)) return;
  for (const Glyph& glyph : glyphs_) glyph.Draw(canvas);
}

}  // namespace vx
