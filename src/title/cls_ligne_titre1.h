// The title line: a row of random glyphs on the title letters' pitch grid that fills the
// screen from left to right, each glyph flashing up in two layers, fading, waiting a random
// time, blinking faintly once and going out.
#pragma once

#include <cstdint>
#include <vector>

namespace vx {

struct SceneContext;

class ClsLettre1 {
 public:
  int32_t tTps1 = 30;
  int32_t tTps2 = 0;  // kept for its place in the record; nothing reads it
  int32_t OpaciteSz = 0;
  int32_t OpaciteSz2 = 0;
  float XSz = 0.0f;
  float YSz = 0.0f;
  int16_t Etat = 1;  // phases 1 .. 10; 0 finished
  int32_t CarSz = 0;

  // One frame of the phase machine, drawing the layers the phase shows.
  void AfficherCar(SceneContext& ctx);

  int32_t Elapsed() const { return elapsed_; }
  float Progress() const { return progress_; }

 private:
  // Advances the phase clock, clamped to tTps1, and sets progress to elapsed / tTps1 x scale.
  void Ramp(const SceneContext& ctx, float scale);
  void DrawLayer1(SceneContext& ctx) const;
  void DrawLayer2(SceneContext& ctx) const;
  void NextPhase(int16_t phase) {
    Etat = phase;
    elapsed_ = 0;
  }

  int32_t elapsed_ = 0;
  float progress_ = 0.0f;
};

class ClsLigneTitre1 {
 public:
  int16_t NbrCarSz = 0;
  int32_t NbrCarNSz = 0;
  int32_t PosPremL = 0;
  float XSz = 0.0f;
  float YSz = 0.0f;
  int32_t tTps1 = 0;
  int32_t EtatSz = 0;  // 0 inactive, 1 running

  // Restarts the row; the caller sets YSz and PosPremL first.
  void InitLigne(const SceneContext& ctx);
  // One frame: adds the glyphs due by now, then lets every glyph draw itself.
  void Afficher(SceneContext& ctx);

  // Every glyph has been created and every glyph has gone out.
  bool Termine() const;

  const std::vector<ClsLettre1>& Letters() const { return letters_; }
  int32_t Elapsed() const { return elapsed_; }

 private:
  std::vector<ClsLettre1> letters_;  // creation order, left to right
  int32_t elapsed_ = 0;
  int32_t toCreate_ = 0;
  float progress_ = 0.0f;
};

}  // namespace vx
