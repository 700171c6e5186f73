// Cost of one drawn frame of the 3D scene (scheduler, every line and letter, back-to-front
// ordering and every draw submitted to a device that records nothing), seeded, in the steady
// state of a full scene; and the heap allocations a frame makes.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "core/d3dx_math.h"
#include "core/random.h"
#include "fakes/recording_device.h"
#include "saver/draw_frame.h"
#include "scene/cls_ligne3d1.h"

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

struct Scene {
  explicit Scene(int lines) : random(12345) {
    settings.TimeStep = 20;
    settings.LetterHeight = 21;
    settings.LetterWidth = 18;
    settings.Limite = lines;
    settings.FrameRateCap = 40;
    script.Append("txt", "", "1500");
    D3DXMatrixIdentity(ctx.world);
    D3DXMatrixPerspectiveFovLH(ctx.projection, 3.1415927f / 2.0f, 1.0f, 0.1f, 100000.0f);
    ResetScene(ctx);
    // The scheduler would take about 7.5 frames a line to fill the scene; make the lines at
    // once and let them settle into their cycles instead.
    loop.Camera.emplace(ctx);
    loop.Events.emplace(ctx);
    for (int i = 0; i < lines; ++i) ctx.AddLine();
    loop.Events->Etat = 2;
    for (int i = 0; i < 400; ++i) DrawFrame(ctx, loop);
  }
  Settings settings;
  EventScript script;
  RecordingDevice device{false};
  MersenneRandom random;
  SceneContext ctx{settings, device, random, script};
  SceneLoop loop;
};

void BM_DrawFrame(benchmark::State& state) {
  Scene scene(static_cast<int>(state.range(0)));
  const size_t draws_before = scene.device.draw_count;
  const long allocs_before = g_allocations.load();
  for (auto _ : state) DrawFrame(scene.ctx, scene.loop);
  const double frames = static_cast<double>(state.iterations());
  state.counters["draws/frame"] =
      static_cast<double>(scene.device.draw_count - draws_before) / frames;
  state.counters["allocs/frame"] =
      static_cast<double>(g_allocations.load() - allocs_before) / frames;
  size_t letters = 0;
  for (int i = 0; i < scene.ctx.LineCount(); ++i)
    letters += scene.ctx.Lines[static_cast<size_t>(i)]->Letters().size();
  state.counters["letters"] = static_cast<double>(letters);
}
BENCHMARK(BM_DrawFrame)->Arg(100)->Arg(200)->Arg(1000)->Arg(5000)->Unit(benchmark::kMicrosecond);

// The back-to-front order alone: the sort the frame uses against the selection scan.
void BM_OrderSorted(benchmark::State& state) {
  Scene scene(static_cast<int>(state.range(0)));
  std::vector<SceneLoop::DepthKey> keys;
  std::vector<int32_t> order;
  ClsCoordonnees list;
  for (int i = 0; i < scene.ctx.LineCount(); ++i) list.Ajout(i);
  for (auto _ : state) {
    OrderBackToFront(scene.ctx, list, 1.0f, keys, order);
    benchmark::DoNotOptimize(order.data());
  }
}
BENCHMARK(BM_OrderSorted)->Arg(1000)->Arg(5000)->Unit(benchmark::kMicrosecond);

void BM_OrderScan(benchmark::State& state) {
  Scene scene(static_cast<int>(state.range(0)));
  std::vector<int32_t> order;
  ClsCoordonnees list;
  for (auto _ : state) {
    list.ToutEffacer();
    for (int i = 0; i < scene.ctx.LineCount(); ++i) list.Ajout(i);
    OrderBackToFrontByScan(scene.ctx, list, 1.0f, order);
    benchmark::DoNotOptimize(order.data());
  }
}
BENCHMARK(BM_OrderScan)->Arg(1000)->Arg(5000)->Unit(benchmark::kMicrosecond);

// One frame of a running title of N characters on a 1920 x 1080 screen (line, letters,
// flash, streaks, band), restarted whenever it has played out; the mean over whole titles.
void BM_TitleFrame(benchmark::State& state) {
  Settings settings;
  settings.TimeStep = 20;
  settings.LetterHeight = 21;
  settings.LetterWidth = 18;
  settings.ScreenWidthPx = 1920;
  settings.ScreenHeightPx = 1080;
  EventScript script;
  RecordingDevice device{false};
  MersenneRandom random(12345);
  SceneContext ctx{settings, device, random, script};
  ctx.Title = std::make_unique<ClsTitre2>();
  const std::string text(static_cast<size_t>(state.range(0)), 'x');
  const size_t draws_before = device.draw_count;
  const long allocs_before = g_allocations.load();
  for (auto _ : state) {
    if (ctx.Title->Etat == 0) {
      ctx.TitleQueue.push_back(text);
      ctx.Title->InitTitre2(ctx);
    }
    ctx.Title->AfficherTitre(ctx);
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
