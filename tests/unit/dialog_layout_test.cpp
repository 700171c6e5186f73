#include "settings_dialog/dialog_layout.h"

#include <gtest/gtest.h>

namespace vx {
namespace {

TEST(DialogLayout, PlacementAndPanelGradient) {
  DialogPlacement p = PlaceDialog(1920, 1080, 451, 334);
  EXPECT_EQ(p.left, 734);  // 1469 / 2, truncated
  EXPECT_EQ(p.top, 248);   // 746 / 3, truncated
  auto lines = PanelGradientLines(117);
  ASSERT_EQ(lines.size(), 118u);
  EXPECT_EQ(lines[0], 30);
  EXPECT_EQ(lines[58], 250);  // the middle: 220 x sin(58 / 37.24...) rounds to 220
  EXPECT_LT(lines[117], 32);
}

}  // namespace
}  // namespace vx
