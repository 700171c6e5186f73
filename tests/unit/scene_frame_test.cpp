#include "saver/scene_frame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "core/d3dx_math.h"
#include "fakes/recording_device.h"
#include "fakes/scripted_random.h"

namespace vx {
namespace {

// A frame over a recording device, its set-up calls already forgotten.
template <typename Rng = ScriptedRandom>
struct Frames {
  explicit Frames(std::string title = "", bool keep_calls = true, int32_t limit = 100)
      : device(keep_calls),
        settings{20, 18, 21, limit},
        frame(device, random, settings, "atlas.png", std::move(title)) {
    device.calls.clear();
  }
  Texture* Slot(TextureRef RenderState::*slot) const { return (frame.Render().*slot).get(); }
  std::vector<const DeviceCall*> ScreenDraws() const {
    std::vector<const DeviceCall*> out;
    for (const auto* d : device.Draws())
      if (d->value == sizeof(ScreenVertex)) out.push_back(d);
    return out;
  }
  RecordingDevice device;
  Rng random;
  SceneSettings settings;
  SceneFrame frame;
};

TEST(SceneFrame, CallsInOrderEvenWithoutColumns) {
  Frames<> f;
  f.frame.Scheduler().phase = SchedulerPhase::kStopped;
  f.frame.Draw();
  std::vector<DeviceCall::Kind> kinds;
  for (const auto& c : f.device.calls) kinds.push_back(c.kind);
  using K = DeviceCall;
  EXPECT_EQ(kinds, (std::vector<K::Kind>{K::kTransform, K::kGetViewport, K::kClear, K::kBeginScene,
                                         K::kEndScene, K::kPresent}));
  EXPECT_EQ(f.device.calls[0].a, D3DTS_VIEW);
  EXPECT_EQ(f.device.calls[2].a, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER);
  EXPECT_EQ(f.device.calls[2].b, 0u);
  const Viewpoint& view = f.frame.GetScene().view;
  EXPECT_EQ(view.target.z, 4.0f);  // the camera ran
  D3DMatrix want;
  D3DXMatrixLookAtLH(want, view.eye, {0, 0, 4}, {0, -1, 0});
  EXPECT_EQ(0, std::memcmp(&want, &f.device.calls[0].matrix, sizeof want));
}

TEST(SceneFrame, FirstFrameCreatesUpdatesAndDrawsTheFirstColumn) {
  Frames<MersenneRandom> f;
  f.frame.Draw();
  ASSERT_EQ(f.frame.GetScene().ColumnCount(), 1);
  EXPECT_EQ(f.frame.GetScene().view.camera_distance, 400.0f);
  EXPECT_FALSE(f.frame.GetScene().columns[0].Glyphs().empty());  // updated in its own frame
  EXPECT_GT(f.device.draw_count, 0u);
}

TEST(SceneFrame, DrawsBeyond32767Columns) {
  Frames<> f("", false, 40000);
  f.random = ScriptedRandom{0.5f};  // every column in view, all at the same depth
  for (int i = 0; i < 40000; ++i) f.frame.GetScene().AddColumn(f.random);
  f.frame.Scheduler().phase = SchedulerPhase::kFull;
  f.frame.Draw();
  ASSERT_EQ(f.frame.DrawnOrder().size(), 40000u);
  EXPECT_EQ(f.frame.DrawnOrder().back(), 39999);  // equal depths: index order
  EXPECT_GT(f.device.draw_count, 40000u);
}

// The default scene over 20,000 frames, watched from outside every frame.
TEST(SceneFrame, SeededSimulationAtTheDefaults) {
  Frames<MersenneRandom> f("", false);
  f.random.Seed(20240607);
  Scene& scene = f.frame.GetScene();
  std::vector<std::vector<GlyphPhase>> seen;  // last seen phase of every glyph of the cycle
  std::vector<int> restarts;
  int full_at = -1, events = 0;
  for (int frame = 1; frame <= 20000; ++frame) {
    f.frame.Draw();
    const int count = scene.ColumnCount();
    ASSERT_LE(count, 100);
    if (count == 100 && full_at < 0) full_at = frame;
    if (full_at > 0) {
      ASSERT_EQ(count, 100);
    }
    // One event per 1500 units: every 75 frames from the first. Its text is empty: each one
    // is taken and ends at once, so nothing waits.
    events += (frame - 1) % 75 == 0;
    ASSERT_EQ(scene.script.cursor, 1);
    ASSERT_EQ(f.frame.Title().phase, TitlePhase::kIdle);
    ASSERT_TRUE(scene.pending_titles.Empty());

    seen.resize(static_cast<size_t>(count));
    restarts.resize(static_cast<size_t>(count));
    for (size_t i = 0; i < seen.size(); ++i) {
      const GlyphColumn& column = scene.columns[i];
      auto& phases = seen[i];
      const auto glyphs = column.Glyphs();
      if (glyphs.size() < phases.size()) {
        // A restart: only after every glyph had finished (the last one in this frame).
        for (GlyphPhase was : phases) {
          ASSERT_TRUE(was == GlyphPhase::kFadeOut || was == GlyphPhase::kDone);
        }
        ASSERT_TRUE(glyphs.empty());
        ASSERT_EQ(column.glyphs_finished, 0);
        phases.clear();
        ++restarts[i];
      }
      int32_t finished = 0;
      for (size_t k = 0; k < glyphs.size(); ++k) {
        const GlyphPhase now = glyphs[k].phase;
        if (k >= phases.size()) {
          ASSERT_EQ(now, GlyphPhase::kCrossFade)
              << "a new glyph cross-fades after its first update";
          phases.push_back(now);
          continue;
        }
        const GlyphPhase was = phases[k];
        // Cross-fade, hold, fade-out, done: one step at most per frame, never back.
        const bool ok = now == was || static_cast<int32_t>(now) == static_cast<int32_t>(was) + 1 ||
                        (was == GlyphPhase::kFadeOut && now == GlyphPhase::kDone);
        ASSERT_TRUE(ok) << "column " << i << " glyph " << k;
        phases[k] = now;
        finished += now == GlyphPhase::kDone;
      }
      ASSERT_EQ(finished, column.glyphs_finished);
    }
  }
  EXPECT_GT(full_at, 0);
  for (size_t i = 0; i < restarts.size(); ++i) EXPECT_GT(restarts[i], 0) << "column " << i;
  EXPECT_EQ(events, 267);
}

// The title inside real frames: started by the event, drawn over the columns, in its order,
// until it has played out.
TEST(SceneFrame, TitleDrawnAfterTheColumnsUntilFinishedThenIdle) {
  Frames<> f("Hi");
  f.random = ScriptedRandom{0.5f};
  f.frame.Draw();
  EXPECT_EQ(f.frame.Title().phase, TitlePhase::kRunning);
  EXPECT_EQ(f.frame.Title().text, "Hi");
  // First frame: the row's first glyphs (first layer), then the flash and its streaks, then
  // the band: all screen quads after every scene quad, before EndScene.
  std::vector<Texture*> bound;
  bool screen_seen = false;
  size_t end_scene = 0, last_draw = 0;
  for (size_t i = 0; i < f.device.calls.size(); ++i) {
    const DeviceCall& c = f.device.calls[i];
    if (c.kind == DeviceCall::kEndScene) end_scene = i;
    if (c.kind == DeviceCall::kTexture && screen_seen) bound.push_back(c.texture);
    if (c.kind == DeviceCall::kDraw) {
      last_draw = i;
      if (c.value == 32) screen_seen = true;
      EXPECT_FALSE(screen_seen && c.value == 28) << "a column drawn over the title";
    }
  }
  EXPECT_LT(last_draw, end_scene);
  Texture* row_layer1 = f.Slot(&RenderState::title_row_layer1);
  EXPECT_TRUE(std::all_of(bound.begin(), bound.end(), [&](Texture* t) { return t == row_layer1; }));
  auto draws = f.ScreenDraws();
  ASSERT_EQ(draws.size(), 2u + 7u + 1u);  // 2 glyphs (56 x 4 / 100), flash + 6 streaks, band
  EXPECT_EQ(draws[2]->screen_vertices[0].tv, 0.0f);             // the flash
  EXPECT_EQ(draws[9]->screen_vertices[0].tv, 127.0f / 512.0f);  // the band, last

  int frames = 1;
  bool letters_seen = false;
  Texture* real_glyph = f.Slot(&RenderState::title_real_glyph);
  while (f.frame.Title().phase != TitlePhase::kIdle && frames < 2000) {
    f.device.calls.clear();
    f.frame.Draw();
    ++frames;
    for (const auto& c : f.device.calls)
      letters_seen |= c.kind == DeviceCall::kTexture && c.texture == real_glyph;
  }
  EXPECT_TRUE(letters_seen);
  EXPECT_EQ(f.frame.Title().FinishedCount(), 2);
  EXPECT_GT(frames, 4250 / 20);
  EXPECT_LT(frames, 4250 / 20 + 20);
  // Idle: the frame draws no screen quad at all.
  f.device.calls.clear();
  f.frame.Draw();
  EXPECT_TRUE(f.ScreenDraws().empty());
}

TEST(SceneFrame, EmptyTitleTextDrawsNothing) {
  Frames<> f;
  for (int frame = 0; frame < 300; ++frame) f.frame.Draw();
  EXPECT_TRUE(f.ScreenDraws().empty());
  EXPECT_EQ(f.frame.Title().phase, TitlePhase::kIdle);
}

TEST(SceneFrame, TitleLaysOutOnTheViewportOfEachFrame) {
  Frames<> f("x");
  f.device.viewport.Width = 640;
  f.device.viewport.Height = 480;
  f.frame.Draw();
  // One letter: origin = 320 - 9.5 - 19, top = 240 - 10.5.
  EXPECT_EQ(f.frame.Title().x, 291.5f);
  EXPECT_EQ(f.frame.Title().y, 229.5f);
}

}  // namespace
}  // namespace vx
