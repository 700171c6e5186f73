// Where a point of the scene lands on the screen, for the test that skips glyphs out of view.
#pragma once

#include <array>
#include <glm/vec4.hpp>

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
  // IsOnScreen's answer, found without dividing: kOn or kOff where the point is clearly inside
  // or clearly outside, kNear within a rounding margin of an edge, where only IsOnScreen
  // itself can tell.
  enum class Side { kOn, kOff, kNear };
  Side Classify(const D3DVector& point) const;
  // False only when no point of the box from `low` to `high` can pass IsOnScreen, so that a
  // whole column out of view is skipped without testing its glyphs one by one. May say true
  // for a box that shows nothing.
  bool MayShowBox(const D3DVector& low, const D3DVector& high) const;

 private:
  glm::vec4 Clip(const D3DVector& point) const;
  // The six bounds of IsOnScreen as planes of clip space, each >= 0 inside (for w > 0).
  std::array<double, 6> Planes(double x, double y, double z, double w) const;

  float m_[4][4] = {};  // column-major, as GLM keeps it
  D3DViewport viewport_{};
  // The bounds IsOnScreen puts on x / w, y / w and z / w, and whether z / w has any.
  double x_low_ = -1, x_high_ = 1, y_low_ = -1, y_high_ = 1;
  bool depth_bounded_ = true;
};

}  // namespace vx
