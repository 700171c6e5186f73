#include "saver/run_statistics.h"

#include <gtest/gtest.h>

namespace vx {
namespace {

using std::chrono::milliseconds;

TEST(RunStatistics, FpsTextComesOnceASecondWithTheRatesOfThatSecond) {
  double cpu_ms = 1000;
  RunStatistics stats([&] { return cpu_ms; });
  const RunStatistics::Clock::time_point t0{};
  stats.Start(t0);
  for (int i = 0; i < 40; ++i) stats.CountFrame(1, 2);
  cpu_ms += 250;  // a quarter of a core over the next second
  EXPECT_FALSE(stats.FpsText(t0 + milliseconds(999)));
  EXPECT_EQ(stats.FpsText(t0 + milliseconds(1000)), "FPS: 40.0\nCPU: 25.0%");
  // The next reading counts from this one, not from the start.
  for (int i = 0; i < 10; ++i) stats.CountFrame(1, 2);
  EXPECT_EQ(stats.FpsText(t0 + milliseconds(3000)), "FPS: 5.0\nCPU: 0.0%");
}

TEST(RunStatistics, SummaryAveragesPerFrameAndSurvivesARunWithoutFrames) {
  double cpu_ms = 0;
  RunStatistics stats([&] { return cpu_ms; });
  const RunStatistics::Clock::time_point t0{};
  stats.Start(t0);
  EXPECT_NE(stats.Summary({{640, 480}}, "a key", t0).find("frames drawn: 0\n"), std::string::npos);
  stats.CountFrame(100, 200);
  stats.CountFrame(300, 400);
  cpu_ms = 50;
  const std::string text = stats.Summary({{640, 480}, {480, 640}}, "a key", t0 + milliseconds(500));
  EXPECT_EQ(text,
            "frames drawn: 2\nframes per second: 4.0\nCPU ms per frame: 25.00\n"
            "process CPU: 10% of one core\ndraw calls per frame: 200.0\n"
            "triangles per frame: 300\nsize: 640 x 480, 480 x 640\nended by: a key\n");
}

}  // namespace
}  // namespace vx
