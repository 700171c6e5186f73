#include "title/title_letter.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "fakes/scene_harness.h"

namespace vx {
namespace {

using Harness = testing::SceneHarness<>;

// The phase of a letter on each frame until it ends, and the opacity of the real glyph it
// drew (-1 when it drew none).
struct LetterTrace {
  std::vector<TitleLetterPhase> phase;
  std::vector<int32_t> real;
  int Count(TitleLetterPhase p) const {
    return static_cast<int>(std::count(phase.begin(), phase.end(), p));
  }
};

LetterTrace RunLetter(Harness& h, TitleLetter& l, int16_t& counter) {
  LetterTrace t;
  for (int i = 0; i < 1000 && l.phase != TitleLetterPhase::kIdle; ++i) {
    h.device.calls.clear();
    t.phase.push_back(l.phase);
    l.Step(h.title_ctx, h.title_canvas, counter);
    int32_t real = -1;
    for (const auto& c : h.device.calls)
      if (c.kind == DeviceCall::kTexture && c.texture == h.title_canvas.real_glyph)
        real = static_cast<int32_t>(
            static_cast<uint32_t>(h.device.Draws()[0]->screen_vertices[0].diffuse) >> 24);
    t.real.push_back(real);
  }
  return t;
}

TEST(TitleLetter, RealGlyphModeFrameCounts) {
  Harness h;
  h.random = ScriptedRandom{0.5f, 0.4f, 0.2f};  // swap 270, real mode, hold 230
  TitleLetter l(h.random);
  EXPECT_EQ(l.swap_clock.length, 270);
  EXPECT_FALSE(l.StartsRandom());
  l.real_glyph = 44;
  l.phase = TitleLetterPhase::kDelay;
  int16_t counter = 7;
  const LetterTrace t = RunLetter(h, l, counter);
  using P = TitleLetterPhase;
  EXPECT_EQ(t.Count(P::kDelay), 13);  // 260 units of delay
  EXPECT_EQ(t.Count(P::kFadeIn), 20);
  EXPECT_EQ(t.Count(P::kHold), 12);       // 240 >= 230
  EXPECT_EQ(t.Count(P::kCrossFade), 31);  // ends only past 600
  EXPECT_EQ(t.Count(P::kShow), 114);      // 2500 - 230 = 2270: 2280 >= 2270
  EXPECT_EQ(t.Count(P::kFadeOut), 26);    // 520 > 500
  EXPECT_EQ(l.HoldTime(), 230);
  for (int i = 0; i < 13; ++i) EXPECT_EQ(t.real[static_cast<size_t>(i)], -1) << i;
  EXPECT_EQ(t.real[13], 13);   // 20 / 400 of 255 = 12.75
  EXPECT_EQ(t.real[32], 255);  // the fade-in ends at full opacity
  for (size_t i = 33; i < 33 + 12 + 31 + 114; ++i) ASSERT_EQ(t.real[i], 255) << i;
  EXPECT_EQ(t.real.back(), 0);
  EXPECT_EQ(counter, 8);
  EXPECT_EQ(l.phase_clock.length, 250);

  // Ended, or in a phase that does not exist: nothing changes, nothing is drawn.
  for (int16_t phase : {0, -1, 7, 200}) {
    l.phase = static_cast<TitleLetterPhase>(phase);
    h.device.calls.clear();
    l.Step(h.title_ctx, h.title_canvas, counter);
    EXPECT_TRUE(h.device.calls.empty());
    EXPECT_EQ(l.phase_clock.elapsed, 0);
    EXPECT_EQ(counter, 8);
  }
}

TEST(TitleLetter, RandomModeSwapsThenCrossFades) {
  Harness h;
  h.random = ScriptedRandom{0.0f, 0.9f};  // swap 20, random mode
  TitleLetter l(h.random);
  EXPECT_TRUE(l.StartsRandom());
  EXPECT_EQ(l.swap_clock.length, 20);
  l.real_glyph = 1;
  l.random_glyph = 3;
  l.phase = TitleLetterPhase::kFadeIn;
  int16_t counter = 0;
  h.random = ScriptedRandom{0.1f, 0.2f, 0.3f};
  for (int i = 0; i < 3; ++i) l.Step(h.title_ctx, h.title_canvas, counter);
  EXPECT_EQ(l.random_glyph, 17);  // 0.3 x 56 = 16.8: a new random glyph every frame
  // Only the random glyph shows until the cross-fade.
  for (const auto& c : h.device.calls)
    if (c.kind == DeviceCall::kTexture) {
      EXPECT_EQ(c.texture, h.title_canvas.random_glyph);
    }
  h.random = ScriptedRandom{0.0f};
  while (l.phase == TitleLetterPhase::kFadeIn) l.Step(h.title_ctx, h.title_canvas, counter);
  EXPECT_EQ(l.phase_clock.length, 30);  // hold 30
  while (l.phase == TitleLetterPhase::kHold) l.Step(h.title_ctx, h.title_canvas, counter);
  const int32_t shown = l.random_glyph;
  h.device.calls.clear();
  for (int i = 0; i < 15; ++i) l.Step(h.title_ctx, h.title_canvas, counter);  // half way
  EXPECT_EQ(l.random_glyph, shown);
  // 50 x 2.55 is just below 127.5 in binary, so the two layers round apart.
  EXPECT_EQ(l.real_opacity, 127);
  EXPECT_EQ(l.random_opacity, 128);
  const auto draws = h.device.Draws();
  ASSERT_GE(draws.size(), 2u);  // real glyph first, then the random one
  EXPECT_EQ(draws[draws.size() - 2]->screen_vertices[0].tu, 0.0f);
  while (l.phase == TitleLetterPhase::kCrossFade) l.Step(h.title_ctx, h.title_canvas, counter);
  EXPECT_EQ(l.phase_clock.length, 2470);  // 2500 - 30
}

}  // namespace
}  // namespace vx
