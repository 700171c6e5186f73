// The images Direct3D's texture loader makes of a file with the saver's arguments.
#include "platform/linux/gl_texture.h"

#include <gtest/gtest.h>

#include "platform/test_images.h"

namespace vx {
namespace {

using test::At;

std::vector<uint8_t> Bytes(const std::string& text) {
  return {text.begin(), text.end()};
}

TEST(GlTexture, DecodeMipChainScalesTo512ByNearestWithAPointFilteredChain) {
  constexpr uint32_t kRed = 0xFF0000FF, kGreen = 0x00FF00FF, kBlue = 0x0000FFFF;
  constexpr uint32_t kYellow = 0xFFFF00FF, kCyan = 0x00FFFFFF, kWhite = 0xFFFFFFFF;
  RgbaImage source = test::Solid(3, 2, 0);
  const uint32_t colours[6] = {kRed, kGreen, kBlue, kYellow, kCyan, kWhite};
  for (int i = 0; i < 6; ++i) test::Put(source, i % 3, i / 3, colours[i]);

  const std::vector<RgbaImage> chain = DecodeMipChain(Bytes(test::Png(source)), "3x2.png", {});
  ASSERT_EQ(chain.size(), 10u);  // 512 down to 1
  EXPECT_EQ(chain[0].width, 512);
  EXPECT_EQ(chain[0].height, 512);
  EXPECT_EQ(chain[9].width, 1);
  // Column x takes source column floor((x + 0.5) * 3 / 512): 0..170, 171..340, 341..511.
  EXPECT_EQ(At(chain[0], 170, 0), kRed);
  EXPECT_EQ(At(chain[0], 171, 0), kGreen);
  EXPECT_EQ(At(chain[0], 340, 255), kGreen);
  EXPECT_EQ(At(chain[0], 341, 255), kBlue);
  EXPECT_EQ(At(chain[0], 0, 256), kYellow);
  // Point-filtered levels pick texels, never average them: each level takes the texel
  // right-below the centre of each 2 x 2 block above it.
  ASSERT_EQ(chain[8].width, 2);
  EXPECT_EQ(At(chain[8], 0, 0), kGreen);  // source (1, 0)
  EXPECT_EQ(At(chain[8], 1, 1), kWhite);  // source (2, 1)
}

}  // namespace
}  // namespace vx
