// What every title object reads in a frame: the clock step, the one random generator, the
// glyph size, and the size of the surface drawn on (which a host's window may change between
// frames, so the frame refreshes it from the viewport).
#pragma once

#include <cstdint>

#include "core/random.h"

namespace vx {

struct TitleContext {
  int32_t time_step = 20;
  Random& random;
  int32_t glyph_width = 18;
  int32_t glyph_height = 21;
  int32_t screen_width = 0;
  int32_t screen_height = 0;
};

}  // namespace vx
