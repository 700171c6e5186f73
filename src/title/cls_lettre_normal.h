// One letter of a title: waits, fades in (about half of them first as a flickering random
// glyph that later cross-fades into the real one), holds, and fades out with the others.
#pragma once

#include <cstdint>

namespace vx {

struct SceneContext;
class Random;

class ClsLettreNormal {
 public:
  // Draws tTps2, then randomMode.
  explicit ClsLettreNormal(Random& random);

  int32_t tTps1 = 250;
  int32_t tTps2 = 0;
  int32_t OpaciteSz = 0;
  int32_t OpaciteSz2 = 0;
  float XSz = 0.0f;
  float YSz = 0.0f;
  int16_t Etat = 0;  // phases 1 .. 6; 0 before the start and after the end
  int32_t CarNorm = 0;
  int32_t CarBiz = 0;

  // One frame. Adds 1 to NbrTmp in the frame in which the letter ends.
  void AfficherCar(SceneContext& ctx, int16_t& NbrTmp);

  int16_t RandomMode() const { return randomMode_; }
  int16_t HoldTime() const { return holdTime_; }
  int32_t Elapsed() const { return elapsed_; }
  float Percent() const { return percent_; }
  // For tests that pin one mode.
  void SetRandomMode(int16_t mode) { randomMode_ = mode; }

 private:
  void SwapStep(SceneContext& ctx);
  void NextPhase(int16_t phase, int32_t length) {
    Etat = phase;
    tTps1 = length;
    elapsed_ = 0;
  }
  float PercentOfPhase() const;
  void DrawRealGlyph(SceneContext& ctx) const;
  void DrawRandomGlyph(SceneContext& ctx) const;

  int32_t elapsed_ = 0;
  int32_t swapElapsed_ = 0;
  int16_t randomMode_ = 0;
  int16_t holdTime_ = 0;
  float percent_ = 0.0f;
};

}  // namespace vx
