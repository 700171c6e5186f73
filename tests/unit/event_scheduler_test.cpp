#include "scene/event_scheduler.h"

#include <gtest/gtest.h>

#include <tuple>

#include "fakes/scripted_random.h"

namespace vx {
namespace {

struct Schedule {
  explicit Schedule(int32_t limit = 100) { settings.column_limit = limit; }
  bool Advance() { return scheduler.Advance(scene, settings, random); }
  SceneSettings settings;
  Scene scene;
  ScriptedRandom random;
  EventScheduler scheduler{scene};
};

TEST(EventScheduler, FirstCallCreatesAColumnAndFiresTheFirstEventThenWaitsItsDuration) {
  Schedule s;
  s.random = ScriptedRandom{0.5f};
  EXPECT_TRUE(s.Advance());
  const PhaseClock& pause = s.scheduler.column_clock;
  EXPECT_EQ(std::make_tuple(s.scene.ColumnCount(), pause.elapsed, pause.length),
            std::make_tuple(1, 0, 150));
  ASSERT_EQ(s.scene.pending_titles.Size(), 1u);
  EXPECT_EQ(s.scene.pending_titles.At(0), "");
  EXPECT_EQ(s.scene.script.cursor, 1);  // one event wraps to itself
  for (int i = 0; i < 74; ++i) EXPECT_FALSE(s.Advance());
  EXPECT_TRUE(s.Advance());  // 1500 units later
  EXPECT_EQ(s.scene.pending_titles.Size(), 2u);
}

TEST(EventScheduler, StopsCreatingAtTheLimitCountingPast16Bits) {
  Schedule one(1);
  for (int i = 0; i < 50; ++i) one.Advance();  // random 0: no pause at all
  EXPECT_EQ(std::make_tuple(one.scene.ColumnCount(), one.scheduler.phase),
            std::make_tuple(1, SchedulerPhase::kFull));
  Schedule zero(0);  // never allowed by the settings; must not grow forever
  for (int i = 0; i < 5; ++i) zero.Advance();
  EXPECT_EQ(zero.scene.ColumnCount(), 1);
  zero.scheduler.phase = SchedulerPhase::kStopped;
  EXPECT_FALSE(zero.Advance());
  EXPECT_EQ(zero.scheduler.event_clock.elapsed, 80);  // stopped: no clock moves
  Schedule large(40000);
  for (int i = 0; i < 40010; ++i) large.Advance();
  EXPECT_EQ(std::make_tuple(large.scene.ColumnCount(), large.scheduler.phase),
            std::make_tuple(40000, SchedulerPhase::kFull));
}

TEST(EventScheduler, PlaysTheScriptInOrderAndLoopsReportsAnUnplayableOne) {
  Schedule s;
  s.scene.script = EventScript{};
  s.scene.script.Append("txt", "A", "10");
  s.scene.script.Append("TXT", "B", "40");   // case differs: a pause only
  s.scene.script.Append("txt ", "C", "60");  // trailing blank: a pause only
  std::vector<int> fired, titled;
  for (int call = 1; call <= 12; ++call) {
    const int16_t cursor = s.scene.script.cursor;
    if (s.Advance()) titled.push_back(call);
    if (s.scene.script.cursor != cursor) fired.push_back(call);
  }
  // Event 1 at once, event 2 40 units later (2 calls), event 3 60 later (3 calls), then
  // event 1 again after its own 10 units (1 call).
  EXPECT_EQ(fired, (std::vector<int>{1, 3, 6, 7, 9, 12}));
  EXPECT_EQ(titled, (std::vector<int>{1, 7}));
  EXPECT_EQ(s.scene.pending_titles.At(1), "A");

  s.scene.script.Append("pause", "", "soon");
  s.scene.script.cursor = 3;
  EXPECT_THROW(s.Advance(), EventScriptError);
  s.scene.script = EventScript{};  // an empty script has nothing to fire
  for (int i = 0; i < 5; ++i) EXPECT_FALSE(s.Advance());
}

}  // namespace
}  // namespace vx
