// Cost of one animation tick of the settings dialog (runs every 30 ms while it is open).
#include <benchmark/benchmark.h>

#include "settings_dialog/ball_animation.h"

namespace {

void BM_BallAnimationTick(benchmark::State& state) {
  vx::RgbImage ball(14, 14);
  for (int y = 0; y < 14; ++y)
    for (int x = 0; x < 14; ++x) ball.At(x, y) = {200, 60, 60};
  vx::BallAnimation animation(433, 21, ball);
  for (auto _ : state) {
    animation.Tick();
    benchmark::DoNotOptimize(animation.Strip(1).Pixels().data());
  }
}
BENCHMARK(BM_BallAnimationTick);

}  // namespace

BENCHMARK_MAIN();
