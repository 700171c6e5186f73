#include "core/d3dx_math.h"

#include <cstring>
#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>

namespace vx {
namespace {

void FromGlm(const glm::mat4& g, D3DMatrix& out) {
  std::memcpy(&out.m[0][0], &g[0][0], sizeof(float) * 16);
}
glm::vec3 V(const D3DVector& v) {
  return {v.x, v.y, v.z};
}

}  // namespace

glm::mat4 ToGlm(const D3DMatrix& m) {
  glm::mat4 g;
  std::memcpy(&g[0][0], &m.m[0][0], sizeof(float) * 16);
  return g;
}

void D3DXMatrixIdentity(D3DMatrix& out) {
  FromGlm(glm::mat4(1.0f), out);
}

void D3DXMatrixLookAtLH(D3DMatrix& out, const D3DVector& eye, const D3DVector& at,
                        const D3DVector& up) {
  FromGlm(glm::lookAtLH(V(eye), V(at), V(up)), out);
}

void D3DXMatrixPerspectiveFovLH(D3DMatrix& out, float fovy, float aspect, float zn, float zf) {
  FromGlm(glm::perspectiveLH_ZO(fovy, aspect, zn, zf), out);
}

void D3DXMatrixMultiply(D3DMatrix& out, const D3DMatrix& a, const D3DMatrix& b) {
  FromGlm(ToGlm(b) * ToGlm(a), out);
}

void D3DXVec3Project(D3DVector& out, const D3DVector& v, const D3DViewport& vp,
                     const D3DMatrix& projection, const D3DMatrix& view, const D3DMatrix& world) {
  const glm::vec4 clip = ToGlm(projection) * ToGlm(view) * ToGlm(world) * glm::vec4(V(v), 1.0f);
  const glm::vec3 ndc = glm::vec3(clip) / clip.w;
  out.x = static_cast<float>(vp.X) + (1.0f + ndc.x) * static_cast<float>(vp.Width) * 0.5f;
  out.y = static_cast<float>(vp.Y) + (1.0f - ndc.y) * static_cast<float>(vp.Height) * 0.5f;
  out.z = vp.MinZ + ndc.z * (vp.MaxZ - vp.MinZ);
}

}  // namespace vx
