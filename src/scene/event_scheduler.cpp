#include "scene/event_scheduler.h"

#include <optional>
#include <string>

#include "core/numbers.h"

namespace vx {

EventScheduler::EventScheduler(Scene& scene) {
  scene.script.cursor = 1;
}

bool EventScheduler::Advance(Scene& scene, const SceneSettings& settings, Random& random) {
  if (phase == SchedulerPhase::kStopped) return false;
  const int32_t step = settings.time_step;
  if (phase == SchedulerPhase::kFilling) {
    column_clock.Advance(step);
    if (column_clock.elapsed >= column_clock.length) {
      column_clock.Restart(Round32Fast(static_cast<double>(random.Next()) * 300.0));
      scene.AddColumn(random);
      // ">=" rather than "==": a limit below 1 stops at one column instead of growing forever.
      if (scene.ColumnCount() >= settings.column_limit) phase = SchedulerPhase::kFull;
    }
  }
  if (phase == SchedulerPhase::kFilling || phase == SchedulerPhase::kFull) {
    event_clock.Advance(step);
    // An empty script has nothing to fire.
    if (event_clock.elapsed >= event_clock.length && scene.script.Count() > 0)
      return FireEvent(scene);
  }
  return false;
}

bool EventScheduler::FireEvent(Scene& scene) {
  EventScript& s = scene.script;
  const size_t count = s.Count();
  if (s.cursor < 1 || static_cast<size_t>(s.cursor) > count) s.cursor = 1;
  const size_t i = static_cast<size_t>(s.cursor) - 1;
  const bool title = s.kinds[i] == "txt";
  if (title) scene.pending_titles.Push(s.texts[i]);
  s.cursor = static_cast<int16_t>(s.cursor + 1);
  if (static_cast<size_t>(s.cursor) > count) s.cursor = 1;
  const std::string& text = s.durations[static_cast<size_t>(s.cursor) - 1];
  std::optional<int32_t> wait;
  if (auto n = ParseNumber(text)) wait = ToInt32(*n);
  if (!wait)
    throw EventScriptError("event " + std::to_string(s.cursor) +
                           " has a wait that is not a number: \"" + text + "\"");
  event_clock.Restart(*wait);
  return title;
}

}  // namespace vx
