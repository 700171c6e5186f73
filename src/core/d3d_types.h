// The maths types of the Direct3D interface the saver models: a matrix, a vector and a
// viewport, laid out in memory as Direct3D lays them out.
#pragma once

#include <cstdint>

namespace vx {

// Row-major, for row vectors (v * M), as Direct3D lays a matrix out in memory.
struct D3DMatrix {
  float m[4][4];
};

struct D3DVector {
  float x, y, z;
};

struct D3DViewport {
  uint32_t X = 0, Y = 0, Width = 0, Height = 0;
  float MinZ = 0.0f, MaxZ = 1.0f;
};

}  // namespace vx
