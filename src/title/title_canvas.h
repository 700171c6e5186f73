// What the title's objects draw with: the device, the texture slots of their glyphs, the
// glyph size, and the four vertices every title quad is assembled in.
#pragma once

#include <array>
#include <cstdint>

#include "ports/device.h"

namespace vx {

struct TitleCanvas {
  Device& device;
  Texture* row_layer1 = nullptr;    // a title-row glyph's first layer
  Texture* row_layer2 = nullptr;    // a title-row glyph's second layer
  Texture* random_glyph = nullptr;  // a title letter's flickering random glyph
  Texture* real_glyph = nullptr;    // a title letter's own glyph
  int32_t glyph_width = 18;
  int32_t glyph_height = 21;
  std::array<ScreenVertex, 4> quad{};
};

}  // namespace vx
