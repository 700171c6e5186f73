// Where the camera stands and where it looks. The camera writes it every frame; the columns
// read it to measure their distance and to choose where they re-seed.
#pragma once

#include "core/d3d_types.h"

namespace vx {

struct Viewpoint {
  D3DVector eye{};
  D3DVector target{};
  // How far the eye circles from the target (set once by the camera).
  float camera_distance = 0.0f;
};

}  // namespace vx
