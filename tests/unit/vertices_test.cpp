#include "render/vertices.h"

#include <gtest/gtest.h>

namespace vx {
namespace {

TEST(VertexColour, FastPathEqualsTextRuleOverTheWholeOpacityRange) {
  const int32_t colours[] = {0xFFFFFF, 0x123456, 0x100000, 0xABCDEF, 0x0FFFFF, 0xFF, 0};
  for (int32_t colour : colours)
    for (int32_t opacity = 0; opacity <= 255; ++opacity)
      ASSERT_EQ(PackColour(opacity, colour), PackColourByText(opacity, colour))
          << std::hex << opacity << " " << colour;
  EXPECT_EQ(PackColour(128, 0xFFFFFF), static_cast<int32_t>(0x80FFFFFF));
  EXPECT_EQ(PackColour(5, 0xFFFFFF), 0x05FFFFFF);
  EXPECT_EQ(PackColour(0, 0xFFFFFF), 0x00FFFFFF);
  EXPECT_EQ(PackColour(255, 0xFFFFFF), -1);
  // A short colour text shifts the opacity down, and four digits read as a 16-bit value:
  // the text rule, not a plain shift.
  EXPECT_EQ(PackColour(0x80, 0xFF), static_cast<int16_t>(0x80FF));
}

}  // namespace
}  // namespace vx
