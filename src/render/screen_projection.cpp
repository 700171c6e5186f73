#include "render/screen_projection.h"

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
}

D3DVector ScreenProjection::Project(const D3DVector& v) const {
  glm::mat4 m;
  std::memcpy(&m[0][0], &m_[0][0], sizeof m_);
  const glm::vec4 clip = m * glm::vec4(v.x, v.y, v.z, 1.0f);
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

}  // namespace vx
