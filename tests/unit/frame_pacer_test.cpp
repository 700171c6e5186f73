#include "saver/frame_pacer.h"

#include <gtest/gtest.h>

namespace vx {
namespace {

TEST(FramePacer, TheAverageStaysAtTheCapAndASlowMachineCatchesUpAfterAStall) {
  // A machine that could run 1000 passes a second draws about 40 of them each second; the
  // first pass draws, as nothing has been counted yet.
  FramePacer fast(40, 5000);
  int drawn = 0;
  for (uint32_t ms = 0; ms <= 10000; ++ms) drawn += fast.Pass(5000 + ms);
  EXPECT_NEAR(drawn, 405, 2);  // the rounded average may reach 40.5

  FramePacer slow(40, 0);
  uint32_t t = 0;
  for (int i = 0; i < 50; ++i, t += 40) EXPECT_TRUE(slow.Pass(t));  // 25 frames a second
  // After a stall of two seconds the loop draws back to back until the average is at 40.
  t += 2000;
  int back_to_back = 0;
  while (slow.Pass(t)) ++back_to_back;
  EXPECT_GT(back_to_back, 50);
}

TEST(FramePacer, RoundsTheAverageHalfToEven) {
  FramePacer p(40, 1);  // the period starts at tick 0
  p.SetFrameCount(81);  // 40.5 rounds to 40: still drawn
  EXPECT_TRUE(p.Pass(2000));
  FramePacer q(40, 1);
  q.SetFrameCount(83);  // 41.5 rounds to 42
  EXPECT_FALSE(q.Pass(2000));
}

TEST(FramePacer, ResetsOnlyAboveTheLimit) {
  FramePacer p(-1, 0);
  p.SetFrameCount(FramePacer::kResetAbove);
  p.Pass(100);
  EXPECT_EQ(p.FrameCount(), FramePacer::kResetAbove + 1);
  EXPECT_EQ(p.StartTick(), 0xFFFFFFFFu);
  p.Pass(200);  // above the limit: a new period starts at this pass
  EXPECT_EQ(p.FrameCount(), 1);
  EXPECT_EQ(p.StartTick(), 199u);
}

TEST(FramePacer, TickWrapAndZeroElapsedNeverStopThePicture) {
  FramePacer p(40, 0xFFFFFFF0u);
  for (uint32_t t = 0xFFFFFFF0u, i = 0; i < 100; ++i, t += 30) EXPECT_TRUE(p.Pass(t));
  FramePacer q(40, 10);
  q.SetFrameCount(5);
  EXPECT_TRUE(q.Pass(9));  // a period measuring no time
}

TEST(FramePacer, MsUntilDueIsTheFirstTickThatDraws) {
  FramePacer p(40, 0);
  uint32_t t = 0;
  for (int i = 0; i < 200; ++i) {
    while (!p.Pass(t)) ++t;
    const uint32_t wait = p.MsUntilDue(t);
    FramePacer early = p, due = p;
    EXPECT_TRUE(wait == 0 || !early.Pass(t + wait - 1));
    EXPECT_TRUE(due.Pass(t + wait));
    t += wait;
  }
  EXPECT_EQ(FramePacer(-1, 0).MsUntilDue(0), 0u);
}

}  // namespace
}  // namespace vx
