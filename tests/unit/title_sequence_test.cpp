#include "title/title_sequence.h"

#include <gtest/gtest.h>

#include "fakes/scene_harness.h"

namespace vx {
namespace {

TEST(TitleSequence, TakesTheFirstQueuedTextOrOnlyGoesIdle) {
  testing::SceneHarness<> h;
  TitleQueue queue;
  TitleSequence t;
  t.text = "keep";
  t.x = 3;
  t.phase = TitlePhase::kRunning;
  t.Start(queue, h.title_ctx);
  EXPECT_EQ(t.phase, TitlePhase::kIdle);
  EXPECT_EQ(t.text, "keep");
  EXPECT_EQ(t.x, 3.0f);
  queue.Push("first");
  queue.Push("second");
  t.Start(queue, h.title_ctx);
  EXPECT_EQ(t.phase, TitlePhase::kRunning);
  EXPECT_EQ(t.text, "first");
  EXPECT_EQ(queue.Size(), 1u);
  EXPECT_EQ(t.LetterCount(), 5);
  EXPECT_EQ(t.FinishedCount(), 0);
}

TEST(TitleSequence, LaysOutABSpaceCOnThePitchGrid) {
  testing::SceneHarness<> h;
  TitleQueue queue;
  for (const char* text : {"AB C", "next", ""}) queue.Push(text);
  TitleSequence t;
  t.Start(queue, h.title_ctx);
  EXPECT_EQ(t.x, 455.0f);  // 512 - 9.5 x 4 - 19
  EXPECT_EQ(t.y, 373.5f);
  ASSERT_EQ(t.LetterCount(), 3);
  ASSERT_EQ(t.Letters().size(), 3u);
  const float xs[] = {474, 493, 531};  // positions 1, 2 and 4
  for (int i = 0; i < 3; ++i) {
    const TitleLetter& l = t.Letters()[static_cast<size_t>(i)];
    EXPECT_EQ(l.real_glyph, 44 + i);
    EXPECT_EQ(l.x, xs[i]);
    EXPECT_EQ(l.y, 373.5f);
    EXPECT_EQ(l.phase, TitleLetterPhase::kDelay);
  }
  EXPECT_EQ(t.Flash()->phase, FlashPhase::kGrow);
  EXPECT_EQ(t.GlyphRow()->first_letter_x, 455);
  EXPECT_EQ(t.GlyphRow()->phase, GlyphRowPhase::kRunning);
  EXPECT_EQ(t.Band()->phase, SweepPhase::kDelay);
  EXPECT_EQ(t.Band()->y, 371.5f);

  // The next text replaces the letters; the effects are kept and restarted.
  const TitleFlash* flash = &*t.Flash();
  t.Start(queue, h.title_ctx);
  EXPECT_EQ(t.LetterCount(), 4);
  EXPECT_EQ(&*t.Flash(), flash);
  // Empty text: no letters, origin one pitch left of the centre; it ends in its first step.
  t.Start(queue, h.title_ctx);
  EXPECT_EQ(t.LetterCount(), 0);
  EXPECT_EQ(t.x, 493.0f);
  EXPECT_EQ(t.phase, TitlePhase::kRunning);
  t.Step(h.title_ctx, h.title_canvas);
  EXPECT_EQ(t.phase, TitlePhase::kIdle);
  EXPECT_TRUE(h.device.calls.empty());
}

}  // namespace
}  // namespace vx
