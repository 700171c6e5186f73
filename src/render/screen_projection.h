// Where a point of the scene lands on the screen, for the test that skips glyphs out of view.
#pragma once

#include "core/d3d_types.h"

namespace vx {

// World x view x projection and the viewport, taken once per frame so that testing a corner
// costs one matrix-vector product. Gives exactly the coordinates D3DXVec3Project gives for the
// same matrices and viewport.
class ScreenProjection {
 public:
  void Prepare(const D3DViewport& viewport, const D3DMatrix& projection, const D3DMatrix& view,
               const D3DMatrix& world);
  D3DVector Project(const D3DVector& point) const;
  // Inside the viewport, edges included (the right and bottom bounds are Width and Height).
  bool IsOnScreen(const D3DVector& point) const;

 private:
  float m_[4][4] = {};  // column-major, as GLM keeps it
  D3DViewport viewport_{};
};

}  // namespace vx
