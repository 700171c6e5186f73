#include "saver/draw_frame.h"

#include <algorithm>

#include "core/d3dx_math.h"
#include "render/device_setup.h"
#include "scene/cls_ligne3d1.h"

namespace vx {

void ResetScene(SceneContext& ctx) {
  ctx.LastLine = -1;
  ctx.Lines.clear();
  ctx.Lines.resize(1);
}

void OrderBackToFront(const SceneContext& ctx, const ClsCoordonnees& list, float eye_minus_target,
                      std::vector<SceneLoop::DepthKey>& keys, std::vector<int32_t>& order) {
  const int32_t total = list.TotalElements();
  keys.clear();
  for (int32_t j = 1; j <= total; ++j)
    keys.push_back({ctx.Lines[static_cast<size_t>(list.ElementIndex(j))]->ZSz, j});
  // The position breaks ties, which makes std::sort (no scratch allocation, unlike
  // std::stable_sort) give the stable order: among equal depths the earlier position first.
  if (eye_minus_target > 0.0f)
    std::sort(keys.begin(), keys.end(), [](const auto& a, const auto& b) {
      return a.z < b.z || (!(b.z < a.z) && a.position < b.position);
    });
  else
    std::sort(keys.begin(), keys.end(), [](const auto& a, const auto& b) {
      return a.z > b.z || (!(b.z > a.z) && a.position < b.position);
    });
  order.clear();
  for (const auto& k : keys) order.push_back(list.ElementIndex(k.position));
}

void OrderBackToFrontByScan(const SceneContext& ctx, ClsCoordonnees& list, float eye_minus_target,
                            std::vector<int32_t>& order) {
  auto z = [&](int32_t position) {
    return ctx.Lines[static_cast<size_t>(list.ElementIndex(position))]->ZSz;
  };
  order.clear();
  while (list.TotalElements() >= 1) {
    int32_t best = 1;
    for (int32_t j = 1; j <= list.TotalElements(); ++j) {
      if (eye_minus_target > 0.0f ? z(j) < z(best) : z(j) > z(best)) best = j;
    }
    order.push_back(list.ElementIndex(best));
    list.Enlever(best);
  }
}

void DrawFrame(SceneContext& ctx, SceneLoop& loop) {
  if (!loop.Camera) loop.Camera.emplace(ctx);
  loop.Camera->Affichage(ctx);

  BuildViewMatrix(ctx.view, {ctx.EyeX, ctx.EyeY, ctx.EyeZ},
                  {ctx.TargetX, ctx.TargetY, ctx.TargetZ});
  ctx.device.SetTransform(D3DTS_VIEW, ctx.view);
  ctx.PrepareProjection();

  ctx.device.Clear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
  ctx.device.BeginScene();

  if (!loop.Events) loop.Events.emplace(ctx);
  loop.Events->Calcul(ctx);

  // 32-bit indexes throughout: scenes may hold more lines than a 16-bit counter can count.
  for (int32_t i = 0; i <= ctx.LastLine; ++i) ctx.Lines[static_cast<size_t>(i)]->Calculer(ctx);

  loop.DrawOrder.ToutEffacer();
  for (int32_t i = 0; i <= ctx.LastLine; ++i) loop.DrawOrder.Ajout(i);

  const float d = ctx.EyeZ - ctx.TargetZ;
  OrderBackToFront(ctx, loop.DrawOrder, d, loop.keys, loop.order);
  for (int32_t index : loop.order) ctx.Lines[static_cast<size_t>(index)]->Afficher(ctx);
  loop.DrawOrder.ToutEffacer();

  // Flat title objects go over the lines, in screen space.
  if (ctx.Title && ctx.Title->Etat != 0) ctx.Title->AfficherTitre(ctx);

  ctx.device.EndScene();
  ctx.device.Present();
}

}  // namespace vx
