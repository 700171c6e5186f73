#include <gtest/gtest.h>

#include "fakes/scene_harness.h"
#include "fakes/scripted_random.h"
#include "scene/cls_coordonnees.h"
#include "scene/cls_evenements.h"
#include "scene/cls_ligne3d1.h"

namespace vx {
namespace {

using Harness = testing::SceneHarness<ScriptedRandom>;

TEST(Scheduler, FirstCallCreatesALineAndFiresTheFirstEvent) {
  Harness h;
  h.script.EventIndex = 0;
  ClsEvenements ev(h.ctx);
  EXPECT_EQ(h.script.EventIndex, 1);
  h.random = ScriptedRandom{0.5f};
  ev.Calcul(h.ctx);
  EXPECT_EQ(h.ctx.LastLine, 0);
  ASSERT_NE(h.ctx.Lines[0], nullptr);
  EXPECT_EQ(ev.tTps1, 150);
  EXPECT_EQ(ev.Tps1, 0);
  EXPECT_EQ(ev.Etat, 1);
  ASSERT_NE(h.ctx.Title, nullptr);
  EXPECT_EQ(h.ctx.Title->Etat, 1);
  EXPECT_EQ(h.ctx.Title->TitreSz, "");
  EXPECT_TRUE(h.ctx.TitleQueue.empty());
  EXPECT_EQ(h.script.EventIndex, 1);  // one event wraps to itself
  EXPECT_EQ(ev.tTps2, 1500);
  // The next event fires on the 75th call after; the title is busy, so the text waits.
  for (int i = 0; i < 74; ++i) ev.Calcul(h.ctx);
  EXPECT_TRUE(h.ctx.TitleQueue.empty());
  ev.Calcul(h.ctx);
  EXPECT_EQ(h.ctx.TitleQueue.size(), 1u);
  EXPECT_EQ(ev.Tps2, 0);
}

TEST(Scheduler, StopsCreatingAtLimite) {
  Harness h;
  h.settings.Limite = 1;
  ClsEvenements ev(h.ctx);
  ev.Calcul(h.ctx);  // random 0: no pause at all
  EXPECT_EQ(ev.Etat, 2);
  for (int i = 0; i < 50; ++i) ev.Calcul(h.ctx);
  EXPECT_EQ(h.ctx.LastLine, 0);

  Harness g;
  g.settings.Limite = 3;
  ClsEvenements ev3(g.ctx);
  for (int i = 0; i < 3; ++i) ev3.Calcul(g.ctx);  // a zero pause creates again next call
  EXPECT_EQ(g.ctx.LastLine, 2);
  EXPECT_EQ(ev3.Etat, 2);

  Harness z;
  z.settings.Limite = 0;  // never allowed by the settings; must not grow forever
  ClsEvenements ev0(z.ctx);
  for (int i = 0; i < 5; ++i) ev0.Calcul(z.ctx);
  EXPECT_EQ(z.ctx.LastLine, 0);

  ev0.Etat = 0;
  ev0.Calcul(z.ctx);
  EXPECT_EQ(ev0.Tps2, 80);  // stopped: no clock moves
}

TEST(Scheduler, LargeLimiteCountsPast16Bits) {
  Harness h;
  h.settings.Limite = 40000;
  ClsEvenements ev(h.ctx);
  for (int i = 0; i < 40010; ++i) ev.Calcul(h.ctx);
  EXPECT_EQ(h.ctx.LineCount(), 40000);
  EXPECT_EQ(ev.Etat, 2);
  EXPECT_NE(h.ctx.Lines[39999], nullptr);
}

TEST(Scheduler, PlaysTheScriptInOrderAndLoops) {
  Harness h;
  h.script = EventScript{};
  h.script.Append("txt", "A", "10");
  h.script.Append("TXT", "B", "40");   // case differs: a pause only
  h.script.Append("txt ", "C", "60");  // trailing blank: a pause only
  h.script.Append("txt", "D", "abc");
  h.script.EventKinds.pop_back();
  h.script.EventTexts.pop_back();
  h.script.EventDurations.pop_back();
  ClsEvenements ev(h.ctx);
  std::vector<int> fired;
  int16_t last = h.script.EventIndex;
  for (int call = 1; call <= 12; ++call) {
    ev.Calcul(h.ctx);
    if (h.script.EventIndex != last) fired.push_back(call);
    last = h.script.EventIndex;
  }
  // Event 1 at once, event 2 40 units later (2 calls), event 3 60 later (3 calls), then
  // event 1 again after its own 10 units (1 call).
  EXPECT_EQ(fired, (std::vector<int>{1, 3, 6, 7, 9, 12}));
  EXPECT_EQ(h.ctx.Title->TitreSz, "A");
  EXPECT_EQ(h.ctx.TitleQueue, (TitleTextQueue{"A"}));  // the second "A" waits
}

TEST(Scheduler, UnplayableScriptIsReportedOrSkipped) {
  Harness h;
  h.script = EventScript{};
  h.script.Append("txt", "x", "1500");
  h.script.Append("pause", "", "soon");
  ClsEvenements ev(h.ctx);
  EXPECT_THROW(ev.Calcul(h.ctx), EventScriptError);

  Harness e;
  e.script = EventScript{};
  ClsEvenements ev2(e.ctx);
  EXPECT_NO_THROW(for (int i = 0; i < 5; ++i) ev2.Calcul(e.ctx));
  EXPECT_EQ(e.ctx.Title, nullptr);
}

TEST(Title, TakesTheFirstQueuedTextOrGoesIdle) {
  Harness h;
  ClsTitre2 t;
  t.TitreSz = "keep";
  t.XSz = 3;
  t.Etat = 1;
  t.InitTitre2(h.ctx);
  EXPECT_EQ(t.Etat, 0);
  EXPECT_EQ(t.TitreSz, "keep");
  EXPECT_EQ(t.XSz, 3.0f);
  h.ctx.TitleQueue = {"first", "second"};
  t.InitTitre2(h.ctx);
  EXPECT_EQ(t.Etat, 1);
  EXPECT_EQ(t.TitreSz, "first");
  EXPECT_EQ(h.ctx.TitleQueue, (TitleTextQueue{"second"}));
  EXPECT_EQ(t.LetterCount(), 5);
  EXPECT_EQ(t.FinishedCount(), 0);
}

TEST(DrawOrderList, Operations) {
  ClsCoordonnees list;
  EXPECT_EQ(list.TotalElements(), 0);
  EXPECT_EQ(list.ElementIndex(1), 0);
  list.Ajout(5);
  list.Ajout(5);
  list.Ajout(7);
  EXPECT_EQ(list.TotalElements(), 3);
  EXPECT_EQ(list.ElementIndex(1), 5);
  EXPECT_EQ(list.ElementIndex(2), 5);
  EXPECT_EQ(list.ElementIndex(3), 7);
  list.ToutEffacer();
  EXPECT_EQ(list.TotalElements(), 0);
  EXPECT_EQ(list.ElementIndex(1), 0);

  for (int v : {4, 8, 9}) list.Ajout(v);
  list.Enlever(2);
  EXPECT_EQ(list.TotalElements(), 2);
  EXPECT_EQ(list.ElementIndex(1), 4);
  EXPECT_EQ(list.ElementIndex(2), 9);
  list.Enlever(3);
  list.Enlever(0);
  list.Enlever(-1);
  EXPECT_EQ(list.TotalElements(), 2);
  EXPECT_EQ(list.ElementIndex(0), 0);
  EXPECT_EQ(list.ElementIndex(-3), 0);
  EXPECT_EQ(list.ElementIndex(3), 0);
  list.Enlever(1);
  list.Enlever(1);
  EXPECT_EQ(list.TotalElements(), 0);
  list.Ajout(40000);  // line indexes beyond 16 bits stay intact
  EXPECT_EQ(list.ElementIndex(1), 40000);
}

}  // namespace
}  // namespace vx
