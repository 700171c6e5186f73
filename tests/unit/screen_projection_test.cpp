#include "render/screen_projection.h"

#include <gtest/gtest.h>

#include "core/d3dx_math.h"
#include "fakes/scene_harness.h"

namespace vx {
namespace {

TEST(ScreenProjection, MatchesD3DXProjectAndIncludesTheEdges) {
  SceneHarness h;
  const ScreenProjection& p = h.projection;
  MersenneRandom rnd(7);
  for (int i = 0; i < 500; ++i) {
    D3DVector point{rnd.Next() * 2000 - 1000, rnd.Next() * 2000 - 1000, rnd.Next() * 3000 - 1000};
    D3DVector want;
    D3DXVec3Project(want, point, h.device.viewport, h.projection_matrix, h.view_matrix, h.world);
    const D3DVector got = p.Project(point);
    ASSERT_EQ(got.x, want.x);
    ASSERT_EQ(got.y, want.y);
    ASSERT_EQ(got.z, want.z);
  }
  // At distance 400 with a 90-degree view the visible half-width is 400 units.
  EXPECT_TRUE(p.IsOnScreen({0, 0, 0}));
  EXPECT_FALSE(p.IsOnScreen({0, 0, -500}));  // behind the eye
  EXPECT_FALSE(p.IsOnScreen({401, 0, 0}));
  EXPECT_TRUE(p.IsOnScreen({399, 399, 0}));
}

}  // namespace
}  // namespace vx
