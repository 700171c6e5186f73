#include "scene/event_scheduler.h"

#include <gtest/gtest.h>

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

TEST(EventScheduler, FirstCallCreatesAColumnAndFiresTheFirstEvent) {
  Schedule s;
  EXPECT_EQ(s.scene.script.cursor, 1);
  s.random = ScriptedRandom{0.5f};
  EXPECT_TRUE(s.Advance());
  EXPECT_EQ(s.scene.ColumnCount(), 1);
  EXPECT_EQ(s.scheduler.column_clock.length, 150);
  EXPECT_EQ(s.scheduler.column_clock.elapsed, 0);
  EXPECT_EQ(s.scheduler.phase, SchedulerPhase::kFilling);
  ASSERT_EQ(s.scene.pending_titles.Size(), 1u);
  EXPECT_EQ(s.scene.pending_titles.At(0), "");
  EXPECT_EQ(s.scene.script.cursor, 1);  // one event wraps to itself
  EXPECT_EQ(s.scheduler.event_clock.length, 1500);
  // The next event fires on the 75th call after.
  for (int i = 0; i < 74; ++i) EXPECT_FALSE(s.Advance());
  EXPECT_TRUE(s.Advance());
  EXPECT_EQ(s.scene.pending_titles.Size(), 2u);
  EXPECT_EQ(s.scheduler.event_clock.elapsed, 0);
}

TEST(EventScheduler, StopsCreatingAtTheLimitCountingPast16Bits) {
  Schedule one(1);
  one.Advance();  // random 0: no pause at all
  EXPECT_EQ(one.scheduler.phase, SchedulerPhase::kFull);
  for (int i = 0; i < 50; ++i) one.Advance();
  EXPECT_EQ(one.scene.ColumnCount(), 1);

  Schedule zero(0);  // never allowed by the settings; must not grow forever
  for (int i = 0; i < 5; ++i) zero.Advance();
  EXPECT_EQ(zero.scene.ColumnCount(), 1);
  zero.scheduler.phase = SchedulerPhase::kStopped;
  EXPECT_FALSE(zero.Advance());
  EXPECT_EQ(zero.scheduler.event_clock.elapsed, 80);  // stopped: no clock moves

  Schedule large(40000);
  for (int i = 0; i < 40010; ++i) large.Advance();
  EXPECT_EQ(large.scene.ColumnCount(), 40000);
  EXPECT_EQ(large.scheduler.phase, SchedulerPhase::kFull);
}

TEST(EventScheduler, PlaysTheScriptInOrderAndLoops) {
  Schedule s;
  s.scene.script = EventScript{};
  s.scene.script.Append("txt", "A", "10");
  s.scene.script.Append("TXT", "B", "40");   // case differs: a pause only
  s.scene.script.Append("txt ", "C", "60");  // trailing blank: a pause only
  s.scene.script.cursor = 1;
  std::vector<int> fired, titled;
  int16_t last = s.scene.script.cursor;
  for (int call = 1; call <= 12; ++call) {
    if (s.Advance()) titled.push_back(call);
    if (s.scene.script.cursor != last) fired.push_back(call);
    last = s.scene.script.cursor;
  }
  // Event 1 at once, event 2 40 units later (2 calls), event 3 60 later (3 calls), then
  // event 1 again after its own 10 units (1 call).
  EXPECT_EQ(fired, (std::vector<int>{1, 3, 6, 7, 9, 12}));
  EXPECT_EQ(titled, (std::vector<int>{1, 7}));
  EXPECT_EQ(s.scene.pending_titles.Size(), 2u);
}

TEST(EventScheduler, UnplayableScriptIsReportedEmptyScriptIsQuiet) {
  Schedule s;
  s.scene.script.Append("pause", "", "soon");
  EXPECT_THROW(s.Advance(), EventScriptError);

  Schedule e;
  e.scene.script = EventScript{};
  for (int i = 0; i < 5; ++i) EXPECT_FALSE(e.Advance());
  EXPECT_TRUE(e.scene.pending_titles.Empty());
}

}  // namespace
}  // namespace vx
