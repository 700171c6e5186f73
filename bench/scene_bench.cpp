// Cost of one drawn frame of the 3D scene (scheduler, every column and glyph, back-to-front
// ordering and every draw submitted to a device that records nothing), seeded, in the steady
// state of a full scene; and the heap allocations a frame makes.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "core/random.h"
#include "fakes/recording_device.h"
#include "saver/scene_frame.h"

namespace {
std::atomic<long> g_allocations{0};
}  // namespace

void* operator new(std::size_t n) {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}

namespace vx {
namespace {

// A full scene of N columns in its steady state, drawn through a device that records nothing.
struct FullScene {
  explicit FullScene(int columns)
      : random(12345), settings{20, 18, 21, columns}, frame(device, random, settings, "atlas.png") {
    // The scheduler would take about 7.5 frames a column to fill the scene; make the columns
    // at once and let them settle into their cycles instead.
    for (int i = 0; i < columns; ++i) frame.GetScene().AddColumn(random);
    frame.Scheduler().phase = SchedulerPhase::kFull;
    for (int i = 0; i < 400; ++i) frame.Draw();
  }
  RecordingDevice device{false};
  MersenneRandom random;
  SceneSettings settings;
  SceneFrame frame;
};

void BM_DrawFrame(benchmark::State& state) {
  FullScene scene(static_cast<int>(state.range(0)));
  const size_t draws_before = scene.device.draw_count;
  const long allocs_before = g_allocations.load();
  for (auto _ : state) scene.frame.Draw();
  const double frames = static_cast<double>(state.iterations());
  state.counters["draws/frame"] =
      static_cast<double>(scene.device.draw_count - draws_before) / frames;
  state.counters["allocs/frame"] =
      static_cast<double>(g_allocations.load() - allocs_before) / frames;
  size_t glyphs = 0;
  for (const GlyphColumn& column : scene.frame.GetScene().columns) glyphs += column.Glyphs().size();
  state.counters["glyphs"] = static_cast<double>(glyphs);
}
BENCHMARK(BM_DrawFrame)->Arg(100)->Arg(200)->Arg(1000)->Arg(5000)->Unit(benchmark::kMicrosecond);

// The back-to-front order alone: the sort the frame uses against the selection scan.
void BM_OrderSorted(benchmark::State& state) {
  FullScene scene(static_cast<int>(state.range(0)));
  const auto& columns = scene.frame.GetScene().columns;
  std::vector<DepthKey> keys;
  std::vector<int32_t> order;
  DrawOrder list;
  for (size_t i = 0; i < columns.size(); ++i) list.Append(static_cast<int32_t>(i));
  for (auto _ : state) {
    OrderBackToFront(columns, list, 1.0f, keys, order);
    benchmark::DoNotOptimize(order.data());
  }
}
BENCHMARK(BM_OrderSorted)->Arg(1000)->Arg(5000)->Unit(benchmark::kMicrosecond);

void BM_OrderScan(benchmark::State& state) {
  FullScene scene(static_cast<int>(state.range(0)));
  const auto& columns = scene.frame.GetScene().columns;
  std::vector<int32_t> order;
  DrawOrder list;
  for (auto _ : state) {
    list.Clear();
    for (size_t i = 0; i < columns.size(); ++i) list.Append(static_cast<int32_t>(i));
    OrderBackToFrontByScan(columns, list, 1.0f, order);
    benchmark::DoNotOptimize(order.data());
  }
}
BENCHMARK(BM_OrderScan)->Arg(1000)->Arg(5000)->Unit(benchmark::kMicrosecond);

// One frame of a running title of N characters on a 1920 x 1080 screen (row, letters,
// flash, streaks, band), restarted whenever it has played out; the mean over whole titles.
void BM_TitleFrame(benchmark::State& state) {
  RecordingDevice device{false};
  MersenneRandom random(12345);
  TitleContext ctx{20, random, 18, 21, 1920, 1080};
  TitleCanvas canvas{device};
  TitleQueue queue;
  TitleSequence title;
  const std::string text(static_cast<size_t>(state.range(0)), 'x');
  const size_t draws_before = device.draw_count;
  const long allocs_before = g_allocations.load();
  for (auto _ : state) {
    if (title.phase == TitlePhase::kIdle) {
      queue.Push(text);
      title.Start(queue, ctx);
    }
    title.Step(ctx, canvas);
  }
  const double frames = static_cast<double>(state.iterations());
  state.counters["draws/frame"] = static_cast<double>(device.draw_count - draws_before) / frames;
  state.counters["allocs/frame"] =
      static_cast<double>(g_allocations.load() - allocs_before) / frames;
}
BENCHMARK(BM_TitleFrame)->Arg(11)->Arg(80)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vx

BENCHMARK_MAIN();
