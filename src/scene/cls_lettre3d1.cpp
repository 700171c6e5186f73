#include "scene/cls_lettre3d1.h"

#include "core/numbers.h"
#include "render/vertices.h"
#include "scene/scene_context.h"

namespace vx {

CellOrigin CellForCharacter(int32_t NumLettre) {
  const int32_t k = (NumLettre == 0 ? 56 : NumLettre) - 1;
  const int32_t c = k % 10;
  const int32_t r = k / 10;
  return {static_cast<float>(c * 50) / 512.0f, static_cast<float>(r * 58) / 512.0f};
}

ClsLettre3D1::ClsLettre3D1(Random& random) {
  DecalSz = Round32Fast(static_cast<double>(random.Next()) * 300.0 + 50.0);
  NumLettreSz = Round32Fast(static_cast<double>(random.Next()) * 56.0);
  tTps2 = Round32Fast(static_cast<double>(random.Next()) * 1000.0 + 100.0);
}

void ClsLettre3D1::Calculer(SceneContext& ctx, int32_t& TotSz, const int32_t& opDist) {
  if (Etat == 0) return;
  const int32_t step = ctx.settings.TimeStep;
  const double od = opDist;
  double p = 0.0;
  switch (Etat) {
    case 1:
      AddStep(Tps1, step);
      if (Tps1 < tTps1) {
        p = static_cast<double>(Tps1) / tTps1 * 100.0;
      } else {
        Tps1 = 0;
        Etat = 2;
        tTps1 = Round32Fast(DecalSz / 2.0);
        p = 100.0;
      }
      OpaciteSz = Round32Fast(p * 2.55 / 100.0 * od);
      break;
    case 2:
      AddStep(Tps1, step);
      if (Tps1 < tTps1) {
        p = static_cast<double>(Tps1) / tTps1 * 100.0;
      } else {
        Etat = 3;
        Tps1 = 0;
        tTps1 = DecalSz;
        p = 100.0;
      }
      OpaciteSz = Round32Fast((255.0 - p * 2.55) / 100.0 * od);
      OpaciteSz2 = Round32Fast(p * 2.55 / 100.0 * od);
      break;
    case 3:
      AddStep(Tps1, step);
      if (Tps1 >= tTps1) {
        Etat = 4;
        Tps1 = 0;
        tTps1 = Round32Fast(static_cast<double>(ctx.random.Next()) * 200.0 + 150.0);
      }
      OpaciteSz2 = Round32Fast(od * 2.55);
      break;
    case 4:
      AddStep(Tps1, step);
      if (Tps1 < tTps1) {
        p = static_cast<double>(Tps1) / tTps1 * 100.0;
        OpaciteSz2 = Round32Fast((255.0 - p * 2.55) / 100.0 * od);
      } else {
        Etat = 0;
        Tps1 = 0;
        tTps1 = 0;
        TotSz += 1;
      }
      break;
    default:
      break;
  }
  AddStep(Tps2, step);
  if (Tps2 >= tTps2) {
    NumLettreSz = Round32Fast(static_cast<double>(ctx.random.Next()) * 56.0);
    Tps2 = 0;
    tTps2 = Round32Fast(static_cast<double>(ctx.random.Next()) * 1000.0 + 100.0);
  }
}

void ClsLettre3D1::AfficherLettre(SceneContext& ctx) const {
  if (Etat < 1 || Etat > 4) return;
  if (!BuildQuad(ctx)) return;
  if (Etat <= 2) DrawLayer(ctx, OpaciteSz, false);
  if (Etat >= 2) DrawLayer(ctx, OpaciteSz2, true);
}

bool ClsLettre3D1::BuildQuad(SceneContext& ctx) const {
  const CellOrigin cell = CellForCharacter(NumLettreSz);
  const double w = ctx.settings.LetterWidth;
  const double h = ctx.settings.LetterHeight;
  const float x1 = static_cast<float>(XSz + w);
  const float y1 = static_cast<float>(YSz + h);
  auto& q = ctx.SceneQuad;
  q[0] = MakeSceneVertex(XSz, YSz, ZSz, 0, 0, cell.u, cell.v);
  q[1] = MakeSceneVertex(x1, YSz, ZSz, 0, 0, cell.u + kCellDu, cell.v);
  q[2] = MakeSceneVertex(XSz, y1, ZSz, 0, 0, cell.u, cell.v + kCellDv);
  q[3] = MakeSceneVertex(x1, y1, ZSz, 0, 0, cell.u + kCellDu, cell.v + kCellDv);
  for (const SceneVertex& v : q)
    if (ctx.Projection.IsOnScreen({v.x, v.y, v.z})) return true;
  return false;
}

void ClsLettre3D1::DrawLayer(SceneContext& ctx, int32_t opacity, bool second) const {
  const int32_t colour = PackColour(opacity, 0xFFFFFF);
  for (SceneVertex& v : ctx.SceneQuad) v.diffuse = colour;
  ctx.device.SetTexture(0, second ? ctx.glyph_layer2.get() : ctx.glyph_layer1.get());
  ctx.device.SetVertexShader(kFvfSceneVertex);
  ctx.device.DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, ctx.SceneQuad.data(), sizeof(SceneVertex));
}

}  // namespace vx
