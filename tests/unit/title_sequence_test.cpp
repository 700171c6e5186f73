#include "title/title_sequence.h"

#include <gtest/gtest.h>

#include <tuple>

#include "fakes/scene_harness.h"

namespace vx {
namespace {

TEST(TitleSequence, TakesTheFirstQueuedTextAndLaysItOutOnThePitchGrid) {
  SceneHarness h;
  TitleQueue queue;
  TitleSequence t;
  t.text = "kept";
  t.phase = TitlePhase::kRunning;
  t.Start(queue, h.title_ctx);  // nothing queued: it only goes idle
  EXPECT_EQ(std::make_tuple(t.phase, t.text), std::make_tuple(TitlePhase::kIdle, "kept"));

  for (const char* text : {"AB C", "abc", ""}) queue.Push(text);
  t.Start(queue, h.title_ctx);
  EXPECT_EQ(std::make_tuple(t.phase, t.text, queue.Size()),
            std::make_tuple(TitlePhase::kRunning, "AB C", 2u));
  EXPECT_EQ(std::make_tuple(t.x, t.y), std::make_tuple(455.0f, 373.5f));  // 512 - 9.5 x 4 - 19
  ASSERT_EQ(t.LetterCount(), 3);
  ASSERT_EQ(t.Letters().size(), 3u);
  const float xs[] = {474, 493, 531};  // positions 1, 2 and 4: the space keeps its place
  for (size_t i = 0; i < 3; ++i) {
    const TitleLetter& l = t.Letters()[i];
    EXPECT_EQ(
        std::make_tuple(l.real_glyph, l.x, l.y, l.phase),
        std::make_tuple(44 + static_cast<int32_t>(i), xs[i], 373.5f, TitleLetterPhase::kDelay));
  }
  EXPECT_EQ(t.Flash()->phase, FlashPhase::kGrow);
  EXPECT_EQ(std::make_tuple(t.GlyphRow()->phase, t.GlyphRow()->first_letter_x),
            std::make_tuple(GlyphRowPhase::kRunning, 455));
  EXPECT_EQ(std::make_tuple(t.Band()->phase, t.Band()->y),
            std::make_tuple(SweepPhase::kDelay, 371.5f));

  // The next text replaces the letters; the effects are kept.
  const TitleFlash* flash = &*t.Flash();
  t.Start(queue, h.title_ctx);
  EXPECT_EQ(t.LetterCount(), 3);
  EXPECT_EQ(&*t.Flash(), flash);
  EXPECT_EQ(t.GlyphRow()->first_letter_x, 464);  // 512 - 9.5 x 3 - 19 = 464.5, to even
  // Empty text: no letters, origin one pitch left of the centre; it ends in its first step.
  t.Start(queue, h.title_ctx);
  EXPECT_EQ(std::make_tuple(t.LetterCount(), t.x), std::make_tuple(0, 493.0f));
  t.Step(h.title_ctx, h.title_canvas);
  EXPECT_EQ(t.phase, TitlePhase::kIdle);
  EXPECT_TRUE(h.device.calls.empty());
}

}  // namespace
}  // namespace vx
