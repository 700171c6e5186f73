// One column of 3D letters standing at a fixed X and Z: it grows downward letter by letter,
// fades with its distance from the eye, and re-seeds itself once all its letters are done.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "scene/cls_lettre3d1.h"

namespace vx {

struct SceneContext;

class ClsLigne3D1 {
 public:
  // The most letters one cycle can have; the letter storage is reserved for it once.
  static constexpr int32_t kMaxLetters = 80;

  // Draws tTps1, YSz, XSz and ZSz, in that order.
  explicit ClsLigne3D1(SceneContext& ctx);

  int16_t NbrCarSz = 0;
  int32_t NbrCarNSz = 60;
  int32_t NbrCarFin = 0;
  int32_t opDistSz = 0;
  float XSz = 0.0f;
  float YSz = 0.0f;
  float ZSz = 0.0f;
  int32_t Tps1 = 0;
  int32_t tTps1 = 0;
  float Etat = 1.0f;

  void Calculer(SceneContext& ctx);
  void Afficher(SceneContext& ctx) const;

  // Letter i (1-based) is Letters()[i - 1].
  std::span<const ClsLettre3D1> Letters() const { return letters_; }
  float Progress() const { return progress_; }

 private:
  void Restart(SceneContext& ctx);

  std::vector<ClsLettre3D1> letters_;
  float progress_ = 0.0f;
};

}  // namespace vx
