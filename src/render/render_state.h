// The matrices and texture slots set up once before the frame loop and read by every drawing
// routine. The frame loop rebuilds the view matrix each drawn frame; the rest never change.
#pragma once

#include "ports/device.h"

namespace vx {

struct RenderState {
  D3DMatrix world{};
  D3DMatrix view{};
  D3DMatrix projection{};
  // All five hold the same atlas image; each drawing routine binds the slot named for it.
  TextureRef glyph_layer1;        // a 3D glyph's first layer, and a title-row glyph's second
  TextureRef title_row_layer1;    // a title-row glyph's first layer
  TextureRef title_random_glyph;  // a title letter's flickering random glyph
  TextureRef glyph_layer2;        // a 3D glyph's second layer
  TextureRef title_real_glyph;    // a title letter's own glyph
};

}  // namespace vx
