#include "render/corner_text.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "fakes/recording_device.h"

namespace vx {
namespace {

TEST(CornerText, SitsInsideTheBottomLeftCornerOfAnyViewport) {
  for (const D3DViewport viewport :
       {D3DViewport{0, 0, 1920, 1080, 0, 1}, D3DViewport{0, 0, 152, 112, 0, 1},
        D3DViewport{100, 50, 640, 480, 0, 1}}) {
    SCOPED_TRACE(viewport.Height);
    const auto v = CornerTextTriangles("FPS: 40.0\nCPU: 12.5%", viewport);
    ASSERT_FALSE(v.empty());
    EXPECT_EQ(v.size() % 3, 0u);
    float right = 0, top = 1e9f;
    for (const ScreenVertex& p : v) {
      EXPECT_GE(p.x, static_cast<float>(viewport.X));
      EXPECT_LE(p.y, static_cast<float>(viewport.Y + viewport.Height));
      EXPECT_EQ(p.z, 0.0f);
      right = std::max(right, p.x);
      top = std::min(top, p.y);
    }
    // Two short lines: a corner, not a banner.
    EXPECT_LT(right - static_cast<float>(viewport.X), viewport.Width * 0.7f + 40);
    EXPECT_GT(top, static_cast<float>(viewport.Y) + viewport.Height * 0.5f - 40);
  }
}

TEST(CornerText, LitRunsFollowTheFontAndUnknownCharactersAreBlank) {
  const D3DViewport small{0, 0, 320, 240, 0, 1};  // one pixel per font pixel
  const size_t backing = 6;
  // "8": rows 01110 10001 10001 01110 10001 10001 01110 hold 11 runs of lit pixels.
  EXPECT_EQ(CornerTextTriangles("8", small).size(), backing + 11 * 6);
  EXPECT_EQ(CornerTextTriangles("x", small).size(), backing);  // not in the font
  EXPECT_TRUE(CornerTextTriangles("", small).empty());
  // A second character moves right by the advance, not over the first.
  const auto one = CornerTextTriangles("1", small), two = CornerTextTriangles(" 1", small);
  EXPECT_FLOAT_EQ(two.back().x - one.back().x, 6.0f);
}

TEST(CornerText, LeavesDepthTestingOnForTheNextFrame) {
  RecordingDevice device;
  DrawCornerText(device, "FPS: 1.0");
  std::vector<const DeviceCall*> states;
  for (const DeviceCall* c : device.Calls("SetRenderState"))
    if (c->a == D3DRS_ZENABLE) states.push_back(c);
  ASSERT_EQ(states.size(), 2u);
  EXPECT_EQ(states.front()->value, 0);
  EXPECT_EQ(states.back()->value, D3DZB_TRUE);
  ASSERT_EQ(device.Bound().size(), 1u);
  EXPECT_EQ(device.Bound()[0], nullptr);  // untextured: the diffuse colour alone
  const auto draws = device.Draws(sizeof(ScreenVertex));
  ASSERT_EQ(draws.size(), 1u);
  EXPECT_EQ(draws[0]->screen_vertices.size(),
            CornerTextTriangles("FPS: 1.0", device.viewport).size());
}

}  // namespace
}  // namespace vx
