#include "title/title_flash.h"

#include <gtest/gtest.h>

#include "fakes/scene_harness.h"

namespace vx {
namespace {

TEST(TitleFlash, FlashAndStreaksOnA1024By768Screen) {
  testing::SceneHarness<> h;
  h.random = ScriptedRandom{0.3f, 0.99f, 0.5f, 0.2f};  // streak 1: 160 units, 4 wide
  TitleFlash e(h.title_ctx);
  EXPECT_EQ(e.full_width, 512);
  EXPECT_EQ(e.full_height, 49);
  EXPECT_EQ(e.x, 256.0f);
  EXPECT_EQ(e.y, 359.5f);
  EXPECT_EQ(e.StreakOffset(), 16);  // 16.5 to even
  EXPECT_EQ(e.Streak(1).y, 375.5f);
  EXPECT_EQ(e.Streak(1).full_height, 16);
  EXPECT_EQ(e.Streak(1).phase_clock.length, 160);
  EXPECT_EQ(e.Streak(1).size, 4);
  EXPECT_EQ(e.Streak(2).drift, 25.0f);
  EXPECT_EQ(e.Streak(3).drift, -20.0f);
  EXPECT_EQ(e.Streak(2).size, 1);  // 0.2 + 1

  std::vector<int32_t> opacity;
  float widest = 0, widest_left = 0;
  int frames = 0;
  while (e.phase != FlashPhase::kOff && frames < 1000) {
    h.device.calls.clear();
    e.Step(h.title_ctx, h.title_canvas);
    ++frames;
    const auto draws = h.device.Draws();
    ASSERT_GE(draws.size(), 1u);
    for (const auto& c : h.device.calls) ASSERT_NE(c.kind, DeviceCall::kTexture);
    const auto& flash = draws[0]->screen_vertices;
    opacity.push_back(static_cast<int32_t>(static_cast<uint32_t>(flash[0].diffuse) >> 24));
    if (frames == 25) {  // in the hold: full size, centred
      EXPECT_EQ(flash[0].x, 256.0f);
      EXPECT_EQ(flash[0].y, 359.5f);
      EXPECT_EQ(flash[3].x - flash[0].x, 512.0f);
      EXPECT_EQ(flash[3].y - flash[0].y, 49.0f);
      EXPECT_EQ(flash[3].tv, 49.0f / 512.0f);
    }
    if (draws.size() > 1) {
      const auto& s1 = draws[1]->screen_vertices;
      if (s1[1].x - s1[0].x > widest) {
        widest = s1[1].x - s1[0].x;
        widest_left = s1[0].x;
      }
    }
  }
  EXPECT_EQ(frames, 56);
  EXPECT_EQ(opacity[0], 33);    // 20 of 300 units, eased: 12.9 percent
  EXPECT_EQ(opacity[14], 255);  // growth complete
  EXPECT_EQ(opacity[24], 255);  // last hold frame (8 + 1 transition)
  EXPECT_LT(opacity[25], 255);  // fading
  EXPECT_EQ(opacity[55], 0);
  EXPECT_EQ(e.phase_clock.length, 300);
  // Streak 1 grew to 4 x 512 pixels, centred on the flash's centre (512).
  EXPECT_EQ(widest, 2048.0f);
  EXPECT_EQ(widest_left, 256.0f - 768.0f);
  for (int k = 1; k <= 6; ++k) EXPECT_EQ(e.Streak(k).phase, StreakPhase::kOff) << k;
}

}  // namespace
}  // namespace vx
