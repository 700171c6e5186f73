// The scene's scheduler: adds a line after each random pause until Limite lines exist, and
// plays the looping event script whose "txt" events queue title texts.
#pragma once

#include <cstdint>
#include <stdexcept>

namespace vx {

struct SceneContext;

// An event script that cannot be played (a duration that is not a whole number in range).
class EventScriptError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class ClsEvenements {
 public:
  // Sets the script's EventIndex to 1.
  explicit ClsEvenements(SceneContext& ctx);

  int32_t Etat = 1;  // 1 filling, 2 full, 0 stopped
  int32_t Tps1 = 0;
  int32_t tTps1 = 0;
  int32_t Tps2 = 0;
  int32_t tTps2 = 0;

  // One frame of both clocks. Throws EventScriptError for an unplayable duration.
  void Calcul(SceneContext& ctx);

 private:
  void FireEvent(SceneContext& ctx);
};

}  // namespace vx
