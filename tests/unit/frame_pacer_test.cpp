#include "saver/frame_pacer.h"

#include <gtest/gtest.h>

namespace vx {
namespace {

TEST(FramePacer, FirstPassDrawsAndTheAverageStaysAtTheCap) {
  uint32_t t = 5000;
  FramePacer p(40, t);
  EXPECT_TRUE(p.Pass(t));  // FrameCount 0 averages 0
  int drawn = 1;
  // A machine that could run 1000 passes a second draws about 40 of them each second.
  for (int ms = 1; ms <= 10000; ++ms)
    if (p.Pass(t + static_cast<uint32_t>(ms))) ++drawn;
  EXPECT_NEAR(drawn, 405, 2);  // the rounded average may reach 40.5
}

TEST(FramePacer, SlowMachineDrawsEveryPassAndCatchesUpAfterAStall) {
  FramePacer p(40, 0);
  uint32_t t = 0;
  for (int i = 0; i < 50; ++i, t += 40) EXPECT_TRUE(p.Pass(t));  // 25 frames a second
  // After a stall of two seconds the loop draws back to back until the average is at 40.
  t += 2000;
  int back_to_back = 0;
  while (p.Pass(t)) ++back_to_back;
  EXPECT_GT(back_to_back, 50);
}

TEST(FramePacer, RoundsTheAverageHalfToEven) {
  // 81 frames over 2000 ms average 40.5, which rounds to 40: still drawn.
  FramePacer p(40, 1);
  p.SetFrameCount(81);
  EXPECT_TRUE(p.Pass(2000));  // StartTick is 0
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
    if (wait > 0) {
      FramePacer copy = p;
      EXPECT_FALSE(copy.Pass(t + wait - 1));
    }
    FramePacer copy = p;
    EXPECT_TRUE(copy.Pass(t + wait));
    t += wait;
  }
  EXPECT_EQ(FramePacer(-1, 0).MsUntilDue(0), 0u);
}

}  // namespace
}  // namespace vx
