// The D3DX math against values worked out by hand from Direct3D's formulas.
#include "core/d3dx_math.h"

#include <gtest/gtest.h>

#include <utility>

#include "render/device_setup.h"

namespace vx {
namespace {

void ExpectMatrix(const D3DMatrix& m, const float (&want)[4][4]) {
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) EXPECT_NEAR(m.m[r][c], want[r][c], 1e-6f) << r << "," << c;
}

TEST(D3DXMath, LookAtIsLeftHandedAndPerspectiveMapsDepthToZeroOne) {
  D3DMatrix m;
  // Looking down +Z from (1, 2, 3) with up = -Y: x axis (-1,0,0), y axis (0,-1,0).
  D3DXMatrixLookAtLH(m, {1, 2, 3}, {1, 2, 13}, {0, -1, 0});
  ExpectMatrix(m, {{-1, 0, 0, 0}, {0, -1, 0, 0}, {0, 0, 1, 0}, {1, 2, -3, 1}});
  D3DXMatrixPerspectiveFovLH(m, kFieldOfView, 2.0f, kNearPlane, kFarPlane);
  const float q = 100000.0f / (100000.0f - 0.1f);
  ExpectMatrix(m, {{0.5f, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, q, 1}, {0, 0, -0.1f * q, 0}});
}

TEST(D3DXMath, ProjectHitsViewportCornersCentreAndDepthPlanes) {
  // The saver's camera at the origin looking down +Z, up -Y; a viewport that is offset and
  // has a narrowed depth range so X, Y, MinZ and MaxZ all show in the result.
  D3DMatrix world, view, proj;
  D3DXMatrixIdentity(world);
  BuildViewMatrix(view, {0, 0, 0}, {0, 0, 1});
  D3DXMatrixPerspectiveFovLH(proj, kFieldOfView, kAspect, kNearPlane, kFarPlane);
  const D3DViewport vp{10, 20, 800, 600, 0.25f, 0.75f};
  // Depth at z = 1: q - 0.1 q, with q = far / (far - near).
  const float q = 100000.0f / (100000.0f - 0.1f);
  const float d1 = 0.25f + 0.5f * (q - 0.1f * q);
  const float d2 = 0.25f + 0.5f * (q - 0.1f * q / 2.0f);
  const std::pair<D3DVector, D3DVector> cases[] = {
      {{0, 0, 1}, {410, 320, d1}},          // centre
      {{-1, -1, 1}, {810, 20, d1}},         // view x and y are mirrored: top-right corner
      {{1, 1, 1}, {10, 620, d1}},           // bottom-left corner
      {{-2, 2, 2}, {810, 620, d2}},         // bottom-right, farther
      {{0, 0, 0.1f}, {410, 320, 0.25f}},    // near plane -> MinZ
      {{0, 0, 100000}, {410, 320, 0.75f}},  // far plane -> MaxZ
  };
  for (const auto& [point, want] : cases) {
    D3DVector out;
    D3DXVec3Project(out, point, vp, proj, view, world);
    EXPECT_NEAR(out.x, want.x, 1e-3f) << point.x << "," << point.y << "," << point.z;
    EXPECT_NEAR(out.y, want.y, 1e-3f) << point.x << "," << point.y << "," << point.z;
    EXPECT_NEAR(out.z, want.z, 1e-5f) << point.z;
  }
}

}  // namespace
}  // namespace vx
