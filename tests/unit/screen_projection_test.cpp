#include "render/screen_projection.h"

#include <gtest/gtest.h>

#include <cmath>

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

// The fast answers must never contradict the exact one: a wrong kOn or kOff, or a column box
// wrongly out of view, would drop or add glyphs and change the picture. Random cameras (tilted,
// as the circling camera is), points scattered everywhere and points walked finely across the
// screen's edges, the near plane and the eye plane, where rounding decides.
TEST(ScreenProjection, QuickTestsNeverContradictTheExactOne) {
  MersenneRandom rnd(11);
  const auto coordinate = [&](float range) { return rnd.Next() * 2 * range - range; };
  int decided = 0, points = 0, boxes_out = 0, wrong = 0;
  for (int camera = 0; camera < 40; ++camera) {
    D3DMatrix world, view, projection;
    D3DXMatrixIdentity(world);
    const D3DVector eye{coordinate(800), coordinate(800), coordinate(800)};
    const D3DVector target{coordinate(800), coordinate(800), coordinate(800)};
    BuildViewMatrix(view, eye, target);
    D3DXMatrixPerspectiveFovLH(projection, kFieldOfView, kAspect, kNearPlane, kFarPlane);
    D3DViewport viewport{0, 0, 800 + camera * 13u, 600 - camera * 7u, 0.0f, 1.0f};
    if (camera % 5 == 4) viewport.X = viewport.Y = 9;  // a viewport off the origin
    ScreenProjection p;
    p.Prepare(viewport, projection, view, world);
    for (int i = 0; i < 400; ++i) {
      const D3DVector from{coordinate(1500), coordinate(1500), coordinate(1500)};
      const D3DVector to =
          i % 4 == 0 ? eye : D3DVector{coordinate(1500), coordinate(1500), coordinate(1500)};
      const auto at = [&](float t) {
        return D3DVector{from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t,
                         from.z + (to.z - from.z) * t};
      };
      const auto check = [&](const D3DVector& point) {
        const ScreenProjection::Side side = p.Classify(point);
        if (side == ScreenProjection::Side::kNear) return false;
        if ((side == ScreenProjection::Side::kOn) != p.IsOnScreen(point) && ++wrong <= 3)
          ADD_FAILURE() << "wrong quick answer at " << point.x << " " << point.y << " " << point.z
                        << ", camera " << camera;
        return true;
      };
      for (int k = 0; k <= 200; ++k) {
        const float t = static_cast<float>(k) / 200, next = static_cast<float>(k + 1) / 200;
        ++points;
        decided += check(at(t));
        if (k == 200 || p.IsOnScreen(at(t)) == p.IsOnScreen(at(next))) continue;
        // An edge between two steps: close in on the last point before it, where a rounding
        // in Project decides, and test the points around it.
        float in = t, out = next;
        for (int halve = 0; halve < 40; ++halve) {
          const float mid = (in + out) / 2;
          (p.IsOnScreen(at(mid)) == p.IsOnScreen(at(t)) ? in : out) = mid;
        }
        for (float u = in, n = 0; n < 4; u = std::nextafter(u, out), ++n) check(at(u));
        for (float u = out, n = 0; n < 4; u = std::nextafter(u, in), ++n) check(at(u));
      }
      // A small box around the walk's start: if it is called out of view, nothing in it shows.
      const float size = rnd.Next() * 200;
      const D3DVector low = from, high{from.x + size, from.y + size * 3, from.z + size / 4};
      if (p.MayShowBox(low, high)) continue;
      ++boxes_out;
      for (int k = 0; k < 125; ++k) {
        const D3DVector inside{low.x + (high.x - low.x) * (k % 5) / 4.0f,
                               low.y + (high.y - low.y) * (k / 5 % 5) / 4.0f,
                               low.z + (high.z - low.z) * (k / 25) / 4.0f};
        ASSERT_FALSE(p.IsOnScreen(inside)) << "camera " << camera << " box at " << low.x;
      }
    }
  }
  EXPECT_EQ(wrong, 0);
  // And they must answer often enough to be worth asking (away from the edges).
  EXPECT_GT(decided, points * 99 / 100);
  EXPECT_GT(boxes_out, 40 * 400 / 3);
}

TEST(ScreenProjection, ColumnsBehindTheEyeOrBesideTheViewAreOutOfView) {
  SceneHarness h;  // eye at z -400 looking along +z, 400 units visible either side at z 0
  const ScreenProjection& p = h.projection;
  EXPECT_FALSE(p.MayShowBox({-50, -500, -600}, {50, 500, -600}));  // behind the eye
  EXPECT_FALSE(p.MayShowBox({500, -500, 0}, {520, 500, 0}));       // right of the view
  EXPECT_TRUE(p.MayShowBox({390, -500, 0}, {410, 500, 0}));        // over the edge
  EXPECT_TRUE(p.MayShowBox({-50, -500, -500}, {50, 500, 0}));      // through the eye plane
}

}  // namespace
}  // namespace vx
