// What a 3D glyph draws with: the device, the frame's projection for the on-screen test, the
// two texture slots of its layers, its size, and the four vertices its quad is built in.
#pragma once

#include <array>
#include <cstdint>

#include "ports/device.h"
#include "render/screen_projection.h"

namespace vx {

struct GlyphCanvas {
  Device& device;
  const ScreenProjection& projection;
  Texture* layer1 = nullptr;
  Texture* layer2 = nullptr;
  int32_t glyph_width = 18;
  int32_t glyph_height = 21;
  std::array<SceneVertex, 4> quad{};  // shared by both layers of one glyph
};

}  // namespace vx
