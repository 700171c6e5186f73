#include "title/title_letter.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "fakes/scene_harness.h"

namespace vx {
namespace {

using P = TitleLetterPhase;

TEST(TitleLetter, RealGlyphModeFrameCounts) {
  SceneHarness h;
  h.random = ScriptedRandom{0.5f, 0.5f, 0.2f};  // swap 270, hold 230
  TitleLetter l(h.random);
  EXPECT_FALSE(l.StartsRandom());  // 0.5 rounds to even: the real glyph
  l.real_glyph = 44;
  l.phase = P::kDelay;
  int16_t counter = 7;
  std::vector<int32_t> real;  // the real glyph's opacity in each frame, -1 when not drawn
  const auto runs = PhaseRuns(l.phase, P::kIdle, [&] {
    h.device.calls.clear();
    l.Step(h.title_ctx, h.title_canvas, counter);
    const bool drawn = !h.device.calls.empty();
    real.push_back(drawn ? Alpha(h.device.Draws()[0]->screen_vertices[0]) : -1);
  });
  // A 250-unit delay, 400 of fade-in, the hold (240 >= 230), the cross-fade ending only past
  // 600, the show (2500 - 230 = 2270: 2280 >= 2270) and a fade-out ending only past 500.
  EXPECT_EQ(runs, (std::vector<std::pair<P, int>>{{P::kDelay, 13},
                                                  {P::kFadeIn, 20},
                                                  {P::kHold, 12},
                                                  {P::kCrossFade, 31},
                                                  {P::kShow, 114},
                                                  {P::kFadeOut, 26}}));
  EXPECT_EQ(real[12], -1);  // nothing shows in the delay
  EXPECT_EQ(real[13], 13);  // 20 / 400 of 255 = 12.75
  for (size_t i = 32; i < 33 + 12 + 31 + 114; ++i) ASSERT_EQ(real[i], 255) << i;
  EXPECT_EQ(real.back(), 0);
  EXPECT_EQ(counter, 8);

  // Ended, or in a phase that does not exist: nothing changes, nothing is drawn.
  for (int16_t phase : {0, -1, 7, 200}) {
    l.phase = static_cast<P>(phase);
    h.device.calls.clear();
    l.Step(h.title_ctx, h.title_canvas, counter);
    EXPECT_TRUE(h.device.calls.empty());
    EXPECT_EQ(l.phase_clock.elapsed, 0);
    EXPECT_EQ(counter, 8);
  }
}

TEST(TitleLetter, RandomModeSwapsThenCrossFades) {
  SceneHarness h;
  h.random = ScriptedRandom{0.0f, 0.9f};  // swap 20, random mode
  TitleLetter l(h.random);
  EXPECT_TRUE(l.StartsRandom());
  l.real_glyph = 1;
  l.random_glyph = 3;
  l.phase = P::kFadeIn;
  int16_t counter = 0;
  h.random = ScriptedRandom{0.1f, 0.2f, 0.3f};
  for (int i = 0; i < 3; ++i) l.Step(h.title_ctx, h.title_canvas, counter);
  EXPECT_EQ(l.random_glyph, 17);  // 0.3 x 56 = 16.8: a new random glyph every frame
  // Only the random glyph shows until the cross-fade.
  EXPECT_EQ(h.device.Bound(), std::vector<Texture*>(3, h.title_canvas.random_glyph));
  h.random = ScriptedRandom{0.5f};
  while (l.phase == P::kFadeIn) l.Step(h.title_ctx, h.title_canvas, counter);
  while (l.phase == P::kHold) l.Step(h.title_ctx, h.title_canvas, counter);
  const int32_t shown = l.random_glyph;
  h.device.calls.clear();
  for (int i = 0; i < 15; ++i) l.Step(h.title_ctx, h.title_canvas, counter);  // half way
  EXPECT_EQ(l.random_glyph, shown);                                           // no more swaps
  // 50 x 2.55 is just below 127.5 in binary, so the two layers round apart.
  EXPECT_EQ(l.real_opacity, 127);
  EXPECT_EQ(l.random_opacity, 128);
  const auto bound = h.device.Bound();  // the real glyph first, then the random one
  EXPECT_EQ(std::vector<Texture*>(bound.end() - 2, bound.end()),
            (std::vector<Texture*>{h.title_canvas.real_glyph, h.title_canvas.random_glyph}));
}

}  // namespace
}  // namespace vx
