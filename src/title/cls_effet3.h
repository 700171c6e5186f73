// The title's band of light (effect 3): after a short delay it sweeps once across the whole
// screen along the title row, invisible at both ends and brightest half-way.
#pragma once

#include <cstdint>

namespace vx {

struct SceneContext;

class ClsEffet3 {
 public:
  explicit ClsEffet3(const SceneContext& ctx);

  int32_t OpaciteSz = 0;
  float XSz = -760.0f;  // left edge
  float YSz = 0.0f;     // top: the title row less 2 pixels
  int32_t HauteurSz = 0;
  int32_t LargeurSz = 760;
  int16_t Etat = 1;  // 0 off, 1 delay, 2 sweep

  void AfficherEffet(SceneContext& ctx);

  int32_t Elapsed() const { return elapsed_; }
  int32_t Duration() const { return duration_; }
  int32_t PercentDone() const { return percent_; }

 private:
  void DrawQuad(SceneContext& ctx) const;

  int32_t elapsed_ = 0;
  int32_t duration_ = 30;
  int32_t percent_ = 0;
};

}  // namespace vx
