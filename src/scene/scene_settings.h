// The settings the scene and the title read: fixed for the whole run.
#pragma once

#include <cstdint>

namespace vx {

struct SceneSettings {
  int32_t time_step = 20;  // step units every drawn frame adds to every clock
  int32_t glyph_width = 18;
  int32_t glyph_height = 21;
  int32_t column_limit = 100;  // the scheduler stops adding columns at this count
};

}  // namespace vx
