// The images Direct3D's texture loader makes of a file with the saver's arguments.
#include "platform/linux/gl_texture.h"

#include <gtest/gtest.h>

#include <tuple>

#include "platform/test_images.h"

namespace vx {
namespace {

TEST(GlTexture, DecodeMipChainScalesTo512ByNearestWithAPointFilteredChain) {
  // Red, green, blue over yellow, cyan, white.
  const uint32_t colours[6] = {0xFF0000FF, 0x00FF00FF, 0x0000FFFF,
                               0xFFFF00FF, 0x00FFFFFF, 0xFFFFFFFF};
  RgbaImage source = test::Solid(3, 2, 0);
  for (int i = 0; i < 6; ++i) test::Put(source, i % 3, i / 3, colours[i]);
  const std::string png = test::Png(source);
  const std::vector<RgbaImage> chain = DecodeMipChain({png.begin(), png.end()}, "3x2.png", {});
  ASSERT_EQ(chain.size(), 10u);  // 512 down to 1
  for (int level = 0; level < 10; ++level)
    EXPECT_EQ(std::pair(chain[level].width, chain[level].height),
              std::pair(512 >> level, 512 >> level));
  // Column x takes source column floor((x + 0.5) * 3 / 512): 0..170, 171..340, 341..511. The
  // point-filtered levels pick texels, never average them: each takes the texel right-below
  // the centre of each 2 x 2 block above it, so level 8 holds source (1, 0) and (2, 1).
  const std::tuple<int, int, int, int> picks[] = {
      {0, 170, 0, 0}, {0, 171, 0, 1}, {0, 340, 255, 1}, {0, 341, 255, 2},
      {0, 0, 256, 3}, {8, 0, 0, 1},   {8, 1, 1, 5}};
  for (auto [level, x, y, colour] : picks)
    EXPECT_EQ(test::At(chain[level], x, y), colours[colour]) << level << ": " << x << ", " << y;
}

}  // namespace
}  // namespace vx
