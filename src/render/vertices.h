// Small builders of vectors and vertices, and the vertex colour rule.
#pragma once

#include <cstdint>
#include <string>

#include "core/numbers.h"
#include "ports/device.h"

namespace vx {

inline D3DVector MakeVector(float x, float y, float z) {
  return {x, y, z};
}

inline ScreenVertex MakeScreenVertex(float x, float y, float z, float rhw, int32_t diffuse,
                                     int32_t specular, float tu, float tv) {
  return {x, y, z, rhw, diffuse, specular, tu, tv};
}

inline SceneVertex MakeSceneVertex(float x, float y, float z, int32_t diffuse, int32_t specular,
                                   float tu, float tv) {
  return {x, y, z, diffuse, specular, tu, tv};
}

// The colour as the drawing code defines it: the opacity's hexadecimal text followed by the
// colour's, read back as one hexadecimal number. Slow (builds text); the reference rule.
int32_t PackColourByText(int32_t opacity, int32_t colour);

// The same value without building text, for the per-vertex path. Falls back to the text rule
// for colours and opacities outside the usual ranges.
inline int32_t PackColour(int32_t opacity, int32_t colour) {
  if (opacity >= 0 && opacity <= 255 && colour >= 0x100000 && colour <= 0xFFFFFF)
    return static_cast<int32_t>((static_cast<uint32_t>(opacity) << 24) |
                                static_cast<uint32_t>(colour));
  return PackColourByText(opacity, colour);
}

}  // namespace vx
