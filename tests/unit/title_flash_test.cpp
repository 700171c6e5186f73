#include "title/title_flash.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <utility>

#include "fakes/scene_harness.h"

namespace vx {
namespace {

TEST(TitleFlash, FlashAndStreaksOnA1024By768Screen) {
  SceneHarness h;
  h.random = ScriptedRandom{0.3f, 0.99f, 0.5f, 0.2f};  // streak 1: 160 units, 4 wide
  TitleFlash e(h.title_ctx);
  EXPECT_EQ(e.StreakOffset(), 16);  // 16.5 to even
  const FlashStreak &first = e.Streak(1), &second = e.Streak(2);
  EXPECT_EQ(std::make_tuple(first.y, first.full_height, first.phase_clock.length, first.size),
            std::make_tuple(375.5f, 16, 160, 4));
  EXPECT_EQ(std::make_tuple(second.size, second.drift, e.Streak(3).drift),
            std::make_tuple(1, 25.0f, -20.0f));  // 0.2 + 1 wide; 25 down, 20 up

  std::vector<int32_t> opacity;
  std::pair<float, float> widest{};  // streak 1's width and left edge
  while (e.phase != FlashPhase::kOff && opacity.size() < 1000) {
    h.device.calls.clear();
    e.Step(h.title_ctx, h.title_canvas);
    const auto draws = h.device.Draws();
    ASSERT_GE(draws.size(), 1u);
    ASSERT_TRUE(h.device.Bound().empty());  // drawn with the texture bound last
    const auto& flash = draws[0]->screen_vertices;
    opacity.push_back(Alpha(flash[0]));
    if (opacity.size() == 25) {  // in the hold: full size, centred
      EXPECT_EQ(std::make_tuple(flash[0].x, flash[0].y, flash[3].x, flash[3].y, flash[3].tv),
                std::make_tuple(256.0f, 359.5f, 768.0f, 408.5f, 49.0f / 512));
    }
    if (draws.size() > 1) {
      const auto& streak = draws[1]->screen_vertices;
      widest = std::max(widest, std::make_pair(streak[1].x - streak[0].x, streak[0].x));
    }
  }
  ASSERT_EQ(opacity.size(), 56u);
  EXPECT_EQ(opacity[0], 33);    // 20 of 300 units, eased: 12.9 percent
  EXPECT_EQ(opacity[14], 255);  // growth complete
  EXPECT_EQ(opacity[24], 255);  // last hold frame (8 + 1 transition)
  EXPECT_EQ(opacity[25], 246);  // fading: 255 - 20 / 600 x 255
  EXPECT_EQ(opacity[55], 0);
  // Streak 1 grew to 4 x 512 pixels, centred on the flash's centre (512).
  EXPECT_EQ(widest, std::make_pair(2048.0f, -512.0f));
  for (int k = 1; k <= 6; ++k) EXPECT_EQ(e.Streak(k).phase, StreakPhase::kOff) << k;
}

}  // namespace
}  // namespace vx
