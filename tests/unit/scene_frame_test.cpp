#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "fakes/scene_harness.h"
#include "fakes/scripted_random.h"
#include "saver/draw_frame.h"
#include "scene/cls_ligne3d1.h"

namespace vx {
namespace {

using testing::SceneHarness;

// Gives each of the first lines a chosen depth.
template <typename H>
void PlaceLines(H& h, const std::vector<float>& depths) {
  ResetScene(h.ctx);
  for (float z : depths) {
    h.ctx.AddLine();
    h.ctx.Lines[static_cast<size_t>(h.ctx.LastLine)]->ZSz = z;
  }
}

TEST(Frame, CallsInOrderEvenWithoutLines) {
  SceneHarness<ScriptedRandom> h;
  ResetScene(h.ctx);
  EXPECT_EQ(h.ctx.LastLine, -1);
  ASSERT_EQ(h.ctx.Lines.size(), 1u);
  SceneLoop loop;
  loop.Events.emplace(h.ctx);
  loop.Events->Etat = 0;
  DrawFrame(h.ctx, loop);
  std::vector<DeviceCall::Kind> kinds;
  for (const auto& c : h.device.calls) kinds.push_back(c.kind);
  EXPECT_EQ(kinds, (std::vector<DeviceCall::Kind>{DeviceCall::kTransform, DeviceCall::kGetViewport,
                                                  DeviceCall::kClear, DeviceCall::kBeginScene,
                                                  DeviceCall::kEndScene, DeviceCall::kPresent}));
  EXPECT_EQ(h.device.calls[0].a, D3DTS_VIEW);
  EXPECT_EQ(h.device.calls[2].a, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER);
  EXPECT_EQ(h.device.calls[2].b, 0u);
  EXPECT_EQ(h.ctx.TargetZ, 4.0f);  // the camera ran
  D3DMatrix view;
  D3DXMatrixLookAtLH(view, {h.ctx.EyeX, h.ctx.EyeY, h.ctx.EyeZ}, {0, 0, 4}, {0, -1, 0});
  EXPECT_EQ(0, std::memcmp(&view, &h.device.calls[0].matrix, sizeof view));
}

TEST(Frame, FirstFrameCreatesUpdatesAndDrawsTheFirstLine) {
  SceneHarness<MersenneRandom> h;
  ResetScene(h.ctx);
  SceneLoop loop;
  DrawFrame(h.ctx, loop);
  EXPECT_EQ(h.ctx.LastLine, 0);
  EXPECT_EQ(h.ctx.CameraDistance, 400.0f);
  EXPECT_FALSE(h.ctx.Lines[0]->Letters().empty());  // updated in the frame it was made
  EXPECT_GT(h.device.draw_count, 0u);
  EXPECT_EQ(loop.DrawOrder.TotalElements(), 0);
}

TEST(Frame, SortedOrderEqualsTheSelectionScan) {
  SceneHarness<ScriptedRandom> h;
  MersenneRandom rnd(3);
  std::vector<SceneLoop::DepthKey> keys;
  std::vector<int32_t> sorted, scanned;
  for (int round = 0; round < 60; ++round) {
    const int n = round % 4 == 0 ? round / 4 : 1 + static_cast<int>(rnd.Next() * 400);
    std::vector<float> depths;
    for (int i = 0; i < n; ++i)  // few distinct values, so most depths are tied
      depths.push_back(std::floor(rnd.Next() * (1 + round % 7)) * 50.0f - 100.0f);
    PlaceLines(h, depths);
    for (float d : {1.0f, -1.0f, 0.0f}) {
      ClsCoordonnees list;
      // Shuffled list order: the tie rule follows positions, not line indexes.
      for (int i = 0; i < n; ++i) list.Ajout((i * 7 + round) % n);
      OrderBackToFront(h.ctx, list, d, keys, sorted);
      OrderBackToFrontByScan(h.ctx, list, d, scanned);
      ASSERT_EQ(sorted, scanned) << "n=" << n << " d=" << d;
      EXPECT_EQ(list.TotalElements(), 0);
    }
  }
  // By hand: farthest first; ties keep the lower position first in both directions.
  PlaceLines(h, {5, 3, 5, 3});
  ClsCoordonnees list;
  for (int i = 0; i < 4; ++i) list.Ajout(i);
  OrderBackToFront(h.ctx, list, 1.0f, keys, sorted);
  EXPECT_EQ(sorted, (std::vector<int32_t>{1, 3, 0, 2}));
  OrderBackToFront(h.ctx, list, 0.0f, keys, sorted);
  EXPECT_EQ(sorted, (std::vector<int32_t>{0, 2, 1, 3}));
}

TEST(Frame, DrawsBeyond32767Lines) {
  SceneHarness<ScriptedRandom> h(false);
  h.settings.Limite = 40000;
  h.random = ScriptedRandom{0.5f};  // every line in view, all at the same depth
  ResetScene(h.ctx);
  for (int i = 0; i < 40000; ++i) h.ctx.AddLine();
  SceneLoop loop;
  loop.Events.emplace(h.ctx);
  loop.Events->Etat = 2;
  DrawFrame(h.ctx, loop);
  ASSERT_EQ(loop.order.size(), 40000u);
  EXPECT_EQ(loop.order.back(), 39999);  // equal depths: index order
  EXPECT_GT(h.device.draw_count, 40000u);
}

// The default scene over 20,000 frames, watched from outside every frame.
TEST(Frame, SeededSimulationAtTheDefaults) {
  SceneHarness<MersenneRandom> h(false);
  h.random.Seed(20240607);
  h.LookFromBehind();
  ResetScene(h.ctx);
  SceneLoop loop;

  struct Watch {
    std::vector<int32_t> phase;  // last seen phase of every letter of the cycle
    int restarts = 0;
  };
  std::vector<Watch> watch;
  int full_at = -1, events = 0;
  for (int frame = 1; frame <= 20000; ++frame) {
    DrawFrame(h.ctx, loop);
    const int count = h.ctx.LineCount();
    ASSERT_LE(count, 100);
    if (count == 100 && full_at < 0) full_at = frame;
    if (full_at > 0) {
      ASSERT_EQ(count, 100);
    }

    // One event per 1500 units: every 75 frames from the first.
    const bool fired = (frame - 1) % 75 == 0;
    events += fired;
    ASSERT_EQ(h.script.EventIndex, 1);
    // The seeded text is empty: each one is taken and ends at once, so nothing waits.
    ASSERT_EQ(h.ctx.Title->Etat, 0);
    ASSERT_TRUE(h.ctx.TitleQueue.empty());

    watch.resize(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
      const ClsLigne3D1& line = *h.ctx.Lines[static_cast<size_t>(i)];
      Watch& w = watch[static_cast<size_t>(i)];
      const auto letters = line.Letters();
      if (letters.size() < w.phase.size()) {
        // A restart: only after every letter had finished (the last one in this frame).
        for (int32_t was : w.phase) {
          ASSERT_TRUE(was == 4 || was == 0);
        }
        ASSERT_TRUE(letters.empty());
        ASSERT_EQ(line.NbrCarFin, 0);
        w.phase.clear();
        ++w.restarts;
      }
      int32_t finished = 0;
      for (size_t k = 0; k < letters.size(); ++k) {
        const int32_t now = letters[k].Etat;
        if (k >= w.phase.size()) {
          ASSERT_EQ(now, 2) << "a new letter is in its cross-fade after its first update";
          w.phase.push_back(now);
          continue;
        }
        const int32_t was = w.phase[k];
        // 2 -> 3 -> 4 -> 0, one step at most per frame, never back.
        const bool ok = now == was || (was == 2 && now == 3) || (was == 3 && now == 4) ||
                        (was == 4 && now == 0);
        ASSERT_TRUE(ok) << "line " << i << " letter " << k << ": " << was << " -> " << now;
        w.phase[k] = now;
        finished += now == 0;
      }
      ASSERT_EQ(finished, line.NbrCarFin);
    }
  }
  EXPECT_GT(full_at, 0);
  for (size_t i = 0; i < watch.size(); ++i) EXPECT_GT(watch[i].restarts, 0) << "line " << i;
  EXPECT_EQ(events, 267);
}

}  // namespace
}  // namespace vx
