// The title's central flash (effect 1), growing from half to full size while it fades in,
// holding and fading out, with its six streaks (effect 2) that grow sideways from the centre
// and then drift up or down while they fade.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace vx {

struct SceneContext;

class ClsEffet2 {
 public:
  explicit ClsEffet2(const SceneContext& ctx);

  int32_t tTps1 = 0;
  int32_t OpaciteSz = 0;
  float XSz = 0.0f;  // top-left of a streak of width multiplier 1 at full size
  float YSz = 0.0f;
  int32_t HauteurSz = 0;
  int32_t LargeurSz = 0;
  int32_t HTmp = 0;
  int32_t LTmp = 0;
  int16_t Etat = 1;  // 0 off, 1 grow, 2 drift and fade
  float DirectionSz = 0.0f;
  int16_t TailleSz = 1;

  void AfficherEffet(SceneContext& ctx);

  float DrawX() const { return drawX_; }
  float DrawY() const { return drawY_; }
  int32_t Elapsed() const { return elapsed_; }

 private:
  void DrawQuad(SceneContext& ctx) const;

  int32_t elapsed_ = 0;
  float drawX_ = 0.0f;
  float drawY_ = 0.0f;
  float progress_ = 0.0f;
};

class ClsEffet1 {
 public:
  // Centres the flash on the screen and runs InitFX once.
  explicit ClsEffet1(SceneContext& ctx);

  int32_t OpaciteSz = 0;
  float XSz = 0.0f;  // top-left at full size
  float YSz = 0.0f;
  int32_t HauteurSz = 0;
  int32_t LargeurSz = 0;
  int32_t HTmp = 0;
  int32_t LTmp = 0;
  int16_t Etat = 1;  // 0 off, 1 grow, 2 hold, 3 fade

  // Restarts the phase clock and every streak; only Etat = 1 restarts the growth itself.
  void InitFX(SceneContext& ctx);
  void AfficherEffet(SceneContext& ctx);

  float DrawX() const { return drawX_; }
  float DrawY() const { return drawY_; }
  int32_t Elapsed() const { return elapsed_; }
  int32_t Duration() const { return duration_; }
  int16_t StreakOffset() const { return streakOffset_; }
  const ClsEffet2& Streak(int k) const { return *streaks_.at(static_cast<size_t>(k - 1)); }

 private:
  void DrawQuad(SceneContext& ctx) const;

  int32_t elapsed_ = 0;
  int32_t duration_ = 0;
  float drawX_ = 0.0f;
  float drawY_ = 0.0f;
  int16_t streakOffset_ = 0;
  float progress_ = 0.0f;
  std::array<std::optional<ClsEffet2>, 6> streaks_;
};

}  // namespace vx
