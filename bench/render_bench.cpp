// Cost of one saver-sized frame through the OpenGL device, headless: 16,000 letter quads
// (scene vertices, the two letter slots alternating, varying opacity) between Clear and
// Present. Reports GL draw calls per frame beside the CPU time per frame.
#include <benchmark/benchmark.h>
#include <stb_image_write.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "platform/linux/gl_device.h"
#include "render/device_setup.h"
#include "render/vertices.h"

namespace {

constexpr int kQuads = 16000;

// A synthetic atlas in the temporary folder; the caller removes it.
std::string WriteAtlas() {
  std::vector<uint8_t> pixels(512 * 512 * 4);
  for (size_t i = 0; i < pixels.size(); i += 4) {
    const size_t texel = i / 4;
    const bool ink = ((texel % 512) / 5 + (texel / 512) / 7) % 3 == 0;
    pixels[i] = pixels[i + 1] = pixels[i + 2] = 255;
    pixels[i + 3] = ink ? 255 : 0;
  }
  const std::string file =
      (std::filesystem::temp_directory_path() / "vexlum-render-bench-atlas.png").string();
  stbi_write_png(file.c_str(), 512, 512, 4, pixels.data(), 512 * 4);
  return file;
}

// Letter quads spread over columns in front of the camera, as a busy saver frame has them.
std::vector<vx::SceneVertex> MakeLetters() {
  std::mt19937 random(1);
  std::uniform_real_distribution<float> x(-400, 400), y(-300, 300), z(50, 900), op(0, 255);
  std::vector<vx::SceneVertex> v;
  v.reserve(kQuads * 4);
  for (int i = 0; i < kQuads; ++i) {
    const float x0 = x(random), y0 = y(random), z0 = z(random);
    const int32_t c = vx::PackColour(static_cast<int32_t>(op(random)), 0xFFFFFF);
    const float u = static_cast<float>(i % 10) * 50 / 512, t = static_cast<float>(i % 5) * 58 / 512;
    v.push_back(vx::MakeSceneVertex(x0, y0, z0, c, 0, u, t));
    v.push_back(vx::MakeSceneVertex(x0 + 18, y0, z0, c, 0, u + 50.0f / 512, t));
    v.push_back(vx::MakeSceneVertex(x0, y0 + 21, z0, c, 0, u, t + 58.0f / 512));
    v.push_back(vx::MakeSceneVertex(x0 + 18, y0 + 21, z0, c, 0, u + 50.0f / 512, t + 58.0f / 512));
  }
  return v;
}

void FrameOfLetterQuads(benchmark::State& bench, bool batching) {
  const std::string atlas = WriteAtlas();
  auto context = vx::CreateHeadlessGlContext(static_cast<int>(bench.range(0)),
                                             static_cast<int>(bench.range(1)));
  vx::GlDevice device(*context, vx::GlDeviceOptions{batching});
  vx::RenderState state;
  vx::SetUpDevice(device, state, {0, 0, -100}, {0, 0, 0}, atlas);
  std::filesystem::remove(atlas);  // the textures no longer need the file
  const std::vector<vx::SceneVertex> letters = MakeLetters();
  for (auto _ : bench) {
    device.Clear(vx::D3DCLEAR_TARGET | vx::D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    device.BeginScene();
    device.SetTransform(vx::D3DTS_VIEW, state.view);
    for (int i = 0; i < kQuads; ++i) {
      device.SetTexture(0, i % 2 ? state.glyph_layer2.get() : state.glyph_layer1.get());
      device.SetVertexShader(vx::kFvfSceneVertex);
      device.DrawPrimitiveUP(vx::D3DPT_TRIANGLESTRIP, 2, &letters[i * 4], sizeof(vx::SceneVertex));
    }
    device.EndScene();
    device.Present();
    device.Finish();
  }
  bench.counters["gl_draw_calls_per_frame"] = device.Stats().draw_calls_last_frame;
  bench.counters["quads_per_frame"] = device.Stats().primitives_last_frame;
}

void BM_FrameOf16000LetterQuads(benchmark::State& bench) {
  FrameOfLetterQuads(bench, true);
}
void BM_FrameOf16000LetterQuadsUnbatched(benchmark::State& bench) {
  FrameOfLetterQuads(bench, false);
}

}  // namespace

BENCHMARK(BM_FrameOf16000LetterQuads)
    ->Args({1024, 768})
    ->Args({1920, 1080})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameOf16000LetterQuadsUnbatched)->Args({1024, 768})->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
