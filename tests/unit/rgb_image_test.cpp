#include "settings_dialog/rgb_image.h"

#include <gtest/gtest.h>

namespace vx {
namespace {

TEST(RgbImage, FadeAndAdditiveBlendFollowThePixelRule) {
  RgbImage dst(3, 2), black(3, 2);
  dst.At(0, 0) = {255, 100, 1};
  dst.At(2, 1) = {16, 17, 0};
  BlendConstant(dst, black, 16);
  EXPECT_EQ(dst.At(0, 0), (Rgb{239, 93, 0}));  // 255*239/255, 100*239/255 = 93.7
  EXPECT_EQ(dst.At(2, 1), (Rgb{14, 15, 0}));

  RgbImage src(2, 2);
  src.At(0, 0) = {200, 0, 5};
  src.At(1, 1) = {1, 2, 3};
  dst.At(1, 0) = {100, 255, 250};
  BlendAdd(dst, 1, 0, src);
  EXPECT_EQ(dst.At(1, 0), (Rgb{255, 255, 255}));  // clamped
  EXPECT_EQ(dst.At(2, 1), (Rgb{15, 17, 3}));
  BlendAdd(dst, -1, -1, src);  // clipped, only src (1, 1) lands at (0, 0)
  EXPECT_EQ(dst.At(0, 0), (Rgb{240, 95, 3}));
  BlendAdd(dst, 50, 50, src);  // wholly outside: nothing happens
}

}  // namespace
}  // namespace vx
