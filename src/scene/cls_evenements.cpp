#include "scene/cls_evenements.h"

#include "core/numbers.h"
#include "scene/scene_context.h"

namespace vx {

ClsEvenements::ClsEvenements(SceneContext& ctx) {
  ctx.Script.EventIndex = 1;
}

void ClsEvenements::Calcul(SceneContext& ctx) {
  if (Etat == 0) return;
  const int32_t step = ctx.settings.TimeStep;
  if (Etat == 1) {
    AddStep(Tps1, step);
    if (Tps1 >= tTps1) {
      tTps1 = Round32Fast(static_cast<double>(ctx.random.Next()) * 300.0);
      Tps1 = 0;
      ctx.AddLine();
      // ">=" rather than "==": a Limite below 1 stops at one line instead of growing forever.
      if (ctx.LineCount() >= ctx.settings.Limite) Etat = 2;
    }
  }
  if (Etat == 1 || Etat == 2) {
    AddStep(Tps2, step);
    // An empty script has nothing to fire.
    if (Tps2 >= tTps2 && ctx.Script.Count() > 0) FireEvent(ctx);
  }
}

void ClsEvenements::FireEvent(SceneContext& ctx) {
  EventScript& s = ctx.Script;
  const size_t count = s.Count();
  if (s.EventIndex < 1 || static_cast<size_t>(s.EventIndex) > count) s.EventIndex = 1;
  const size_t i = static_cast<size_t>(s.EventIndex) - 1;
  if (s.EventKinds[i] == "txt") {
    QueueTitleText(ctx.TitleQueue, s.EventTexts[i]);
    if (!ctx.Title) ctx.Title = std::make_unique<ClsTitre2>();
    if (ctx.Title->Etat == 0) ctx.Title->InitTitre2(ctx);
  }
  s.EventIndex = static_cast<int16_t>(s.EventIndex + 1);
  if (static_cast<size_t>(s.EventIndex) > count) s.EventIndex = 1;
  const std::string& text = s.EventDurations[static_cast<size_t>(s.EventIndex) - 1];
  std::optional<int32_t> wait;
  if (auto n = ParseNumber(text)) wait = ToInt32(*n);
  if (!wait)
    throw EventScriptError("event " + std::to_string(s.EventIndex) +
                           " has a wait that is not a number: \"" + text + "\"");
  tTps2 = *wait;
  Tps2 = 0;
}

}  // namespace vx
