#include "render/screen_projection.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <glm/glm.hpp>

#include "core/d3dx_math.h"

namespace vx {

void ScreenProjection::Prepare(const D3DViewport& viewport, const D3DMatrix& projection,
                               const D3DMatrix& view, const D3DMatrix& world) {
  // Same association as D3DXVec3Project, so the product is bit-for-bit the one it forms.
  const glm::mat4 m = ToGlm(projection) * ToGlm(view) * ToGlm(world);
  std::memcpy(&m_[0][0], &m[0][0], sizeof m_);
  viewport_ = viewport;
  // Where Project's viewport mapping puts the bounds IsOnScreen tests.
  const double width = viewport.Width, height = viewport.Height;
  x_low_ = -1.0;
  x_high_ = width > 0 ? 2.0 * (width - viewport.X) / width - 1.0 : 1.0;
  y_low_ = height > 0 ? 1.0 - 2.0 * (height - viewport.Y) / height : -1.0;
  y_high_ = 1.0;
  depth_bounded_ = viewport.MaxZ > viewport.MinZ;  // otherwise every depth maps inside
}

glm::vec4 ScreenProjection::Clip(const D3DVector& v) const {
  glm::mat4 m;
  std::memcpy(&m[0][0], &m_[0][0], sizeof m_);
  return m * glm::vec4(v.x, v.y, v.z, 1.0f);
}

D3DVector ScreenProjection::Project(const D3DVector& v) const {
  const glm::vec4 clip = Clip(v);
  const glm::vec3 ndc = glm::vec3(clip) / clip.w;
  const D3DViewport& vp = viewport_;
  return {static_cast<float>(vp.X) + (1.0f + ndc.x) * static_cast<float>(vp.Width) * 0.5f,
          static_cast<float>(vp.Y) + (1.0f - ndc.y) * static_cast<float>(vp.Height) * 0.5f,
          vp.MinZ + ndc.z * (vp.MaxZ - vp.MinZ)};
}

bool ScreenProjection::IsOnScreen(const D3DVector& point) const {
  const D3DVector s = Project(point);
  const D3DViewport& vp = viewport_;
  if (!(static_cast<float>(vp.X) <= s.x && s.x <= static_cast<float>(vp.Width))) return false;
  if (!(static_cast<float>(vp.Y) <= s.y && s.y <= static_cast<float>(vp.Height))) return false;
  return vp.MinZ <= s.z && s.z <= vp.MaxZ;
}

// IsOnScreen bounds the projected point: x / w within [x_low, x_high], and so on, with
// (x, y, z, w) the clip coordinates. As planes through the origin of clip space, each linear
// in the point: f = x - x_low w >= 0 and the like. In front of the eye (w > 0) a point on
// screen has every f >= 0; behind it (w < 0), dividing by w turns them all round: every f <= 0.
std::array<double, 6> ScreenProjection::Planes(double x, double y, double z, double w) const {
  return {x - x_low_ * w, x_high_ * w - x, y - y_low_ * w, y_high_ * w - y, z, w - z};
}

ScreenProjection::Side ScreenProjection::Classify(const D3DVector& p) const {
  const glm::vec4 clip = Clip(p);  // the very floats Project divides
  const double x = clip.x, y = clip.y, z = clip.z, w = clip.w;
  // Project's division and viewport mapping round by a few units in the last place of its
  // float results; an answer closer than this margin to an edge is left to it.
  constexpr double kMargin = 1e-5;
  if (!(std::abs(w) > kMargin * (std::abs(x) + std::abs(y) + std::abs(z)))) return Side::kNear;
  const double sign = w > 0 ? 1.0 : -1.0;
  const double aw = std::abs(w);
  const double mx = kMargin * (std::abs(x) + aw), my = kMargin * (std::abs(y) + aw);
  const double mz = kMargin * (std::abs(z) + aw);
  const std::array<double, 6> f = Planes(x, y, z, w);
  const double margin[6] = {mx, mx, my, my, mz, mz};
  // The least distance past the margins, inward and outward, with no branch per plane.
  double least_in = HUGE_VAL, least_out = HUGE_VAL;
  for (int i = 0; i < 6; ++i) {
    const double g = i < 4 || depth_bounded_ ? sign * f[i] : HUGE_VAL;
    least_in = std::min(least_in, g - margin[i]);
    least_out = std::min(least_out, g + margin[i]);
  }
  if (least_out < 0) return Side::kOff;
  return least_in > 0 ? Side::kOn : Side::kNear;
}

bool ScreenProjection::MayShowBox(const D3DVector& low, const D3DVector& high) const {
  // The box, being convex, shows nothing when its corners all lie on the wrong side of one
  // plane for the points in front of the eye and of one plane for the points behind it.
  const int planes = depth_bounded_ ? 6 : 4;
  bool all_below[6] = {true, true, true, true, true, true};
  bool all_above[6] = {true, true, true, true, true, true};
  for (int corner = 0; corner < 8; ++corner) {
    const double px = corner & 1 ? high.x : low.x;
    const double py = corner & 2 ? high.y : low.y;
    const double pz = corner & 4 ? high.z : low.z;
    double c[4];
    for (int row = 0; row < 4; ++row)
      c[row] = m_[0][row] * px + m_[1][row] * py + m_[2][row] * pz + m_[3][row];
    const double x = c[0], y = c[1], z = c[2], w = c[3];
    const std::array<double, 6> f = Planes(x, y, z, w);
    const double margin = 1e-4 * (std::abs(x) + std::abs(y) + std::abs(z) + std::abs(w));
    for (int i = 0; i < planes; ++i) {
      all_below[i] = all_below[i] && f[i] < -margin;
      all_above[i] = all_above[i] && f[i] > margin;
    }
  }
  const bool out_in_front = std::any_of(all_below, all_below + planes, [](bool b) { return b; });
  const bool out_behind = std::any_of(all_above, all_above + planes, [](bool b) { return b; });
  return !(out_in_front && out_behind);
}

}  // namespace vx
