// The scene's scheduler: adds a column after each random pause until the column limit is
// reached, and plays the looping event script whose "txt" events queue title texts.
#pragma once

#include <cstdint>
#include <stdexcept>

#include "core/phase_clock.h"
#include "core/random.h"
#include "scene/scene.h"
#include "scene/scene_settings.h"

namespace vx {

// An event script that cannot be played (a duration that is not a whole number in range).
class EventScriptError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class SchedulerPhase : int32_t { kStopped = 0, kFilling = 1, kFull = 2 };

class EventScheduler {
 public:
  // Puts the script's cursor on its first event.
  explicit EventScheduler(Scene& scene);

  SchedulerPhase phase = SchedulerPhase::kFilling;
  PhaseClock column_clock;  // pause before the next column
  PhaseClock event_clock;   // wait before the next event

  // One frame of both clocks. True when a "txt" event fired: its text is then in the scene's
  // pending titles, and the title should start if it is idle. Throws EventScriptError for an
  // unplayable duration.
  bool Advance(Scene& scene, const SceneSettings& settings, Random& random);

 private:
  bool FireEvent(Scene& scene);
};

}  // namespace vx
