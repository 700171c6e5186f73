// The matrices and texture slots set up once before the frame loop and read by every drawing
// routine. The frame loop rebuilds MatView each drawn frame; the rest never change.
#pragma once

#include "ports/device.h"

namespace vx {

struct RenderState {
  D3DMatrix MatWorld{};
  D3DMatrix MatView{};
  D3DMatrix MatProj{};
  // All five hold the same atlas image; each drawing routine binds its own slot.
  TextureRef Texture1;  // 3D letter layer 1, title letter layer 2
  TextureRef Texture2;  // title letter layer 1
  TextureRef Texture3;  // normal letter, random glyph
  TextureRef Texture4;  // 3D letter layer 2
  TextureRef Texture5;  // normal letter, real glyph
};

}  // namespace vx
