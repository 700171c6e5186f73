#include "scene/cls_ligne3d1.h"

#include <cmath>

#include "core/numbers.h"
#include "scene/scene_context.h"

namespace vx {

ClsLigne3D1::ClsLigne3D1(SceneContext& ctx) {
  Random& rnd = ctx.random;
  NbrCarNSz = 60;
  tTps1 = Round32Fast((static_cast<double>(rnd.Next()) * 10.0 + 5.0) * 60.0);
  YSz = rnd.Next() * 250.0f - 500.0f;
  XSz = ctx.EyeX + 300.0f - rnd.Next() * 600.0f;
  ZSz = ctx.TargetZ - (ctx.CameraDistance - 1000.0f) * rnd.Next();
  Etat = 1.0f;
}

void ClsLigne3D1::Calculer(SceneContext& ctx) {
  if (Etat == 0.0f) return;
  if (NbrCarSz != NbrCarNSz) {
    AddStep(Tps1, ctx.settings.TimeStep);
    if (Tps1 >= tTps1)
      progress_ = 100.0f;
    else
      progress_ = static_cast<float>(static_cast<double>(Tps1) / tTps1 * 100.0);
    const int16_t n =
        ToInt16(NbrCarNSz / 100.0 * static_cast<double>(progress_) - NbrCarSz).value_or(0);
    const double h = ctx.settings.LetterHeight;
    // Reserved with the first letter, not at construction, so idle lines cost no storage.
    if (n > 0 && letters_.capacity() < size_t{kMaxLetters}) letters_.reserve(size_t{kMaxLetters});
    for (int32_t i = 0; i < n; ++i) {
      NbrCarSz += 1;
      ClsLettre3D1& letter = letters_.emplace_back(ctx.random);
      letter.XSz = XSz;
      letter.YSz = YSz;
      letter.ZSz = ZSz;
      YSz = static_cast<float>(YSz + h - h / 5.8);
    }
  }
  if (letters_.empty()) return;

  const double dz = ZSz - ctx.EyeZ;
  const double dx = XSz - ctx.EyeX;
  const int32_t d = Round32Fast(std::sqrt(dz * dz + dx * dx));
  opDistSz = Round32Fast(100.0 - (d - 500) / 1000.0 * 100.0);
  if (opDistSz > 100) opDistSz = 100;

  for (ClsLettre3D1& letter : letters_) letter.Calculer(ctx, NbrCarFin, opDistSz);

  if (NbrCarFin == NbrCarNSz) Restart(ctx);
}

void ClsLigne3D1::Restart(SceneContext& ctx) {
  Random& rnd = ctx.random;
  progress_ = 0.0f;
  Tps1 = 0;
  YSz = rnd.Next() * 250.0f - 750.0f;
  XSz = ctx.TargetX + 300.0f - rnd.Next() * 600.0f;
  ZSz = ctx.TargetZ - (ctx.CameraDistance - 1000.0f) * rnd.Next();
  tTps1 = Round32Fast(static_cast<double>(rnd.Next()) * 800.0 + 800.0);
  NbrCarNSz = Round32Fast(static_cast<double>(rnd.Next()) * 40.0 + 40.0);
  NbrCarFin = 0;
  NbrCarSz = 0;
  letters_.clear();  // keeps the reserved storage
}

void ClsLigne3D1::Afficher(SceneContext& ctx) const {
  if (letters_.empty() || opDistSz <= 0) return;
  for (const ClsLettre3D1& letter : letters_) letter.AfficherLettre(ctx);
}

}  // namespace vx
