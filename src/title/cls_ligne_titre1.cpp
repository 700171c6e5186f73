#include "title/cls_ligne_titre1.h"

#include <algorithm>

#include "core/numbers.h"
#include "scene/scene_context.h"
#include "title/title_quad.h"

namespace vx {

void ClsLettre1::Ramp(const SceneContext& ctx, float scale) {
  AddStep(elapsed_, ctx.settings.TimeStep);
  if (elapsed_ > tTps1) elapsed_ = tTps1;
  progress_ =
      static_cast<float>(static_cast<double>(elapsed_) / static_cast<double>(tTps1) * scale);
}

void ClsLettre1::DrawLayer1(SceneContext& ctx) const {
  DrawGlyphQuad(ctx, CarSz, XSz, YSz, OpaciteSz, ctx.title_row_layer1);
}

void ClsLettre1::DrawLayer2(SceneContext& ctx) const {
  DrawGlyphQuad(ctx, CarSz, XSz, YSz, OpaciteSz2, ctx.glyph_layer1);
}

void ClsLettre1::AfficherCar(SceneContext& ctx) {
  const auto ramp_opacity = [&](double base, double sign) {
    return Round32Fast(base + sign * static_cast<double>(progress_) * 2.55);
  };
  switch (Etat) {
    case 1:
      Ramp(ctx, 50.0f);
      OpaciteSz = ramp_opacity(0.0, 1.0);
      DrawLayer1(ctx);
      if (progress_ == 50.0f) NextPhase(2);
      break;
    case 2:
      Ramp(ctx, 50.0f);
      OpaciteSz = ramp_opacity(127.5, 1.0);
      OpaciteSz2 = ramp_opacity(0.0, 1.0);
      DrawLayer1(ctx);
      DrawLayer2(ctx);
      if (progress_ == 50.0f) NextPhase(3);
      break;
    case 3:
      Ramp(ctx, 50.0f);
      OpaciteSz2 = ramp_opacity(127.5, 1.0);
      DrawLayer1(ctx);
      DrawLayer2(ctx);
      if (progress_ == 50.0f) {
        NextPhase(4);
        tTps1 = 10;
      }
      break;
    case 4:
      AddStep(elapsed_, ctx.settings.TimeStep);
      DrawLayer2(ctx);
      if (elapsed_ >= tTps1) {
        NextPhase(5);
        tTps1 = 50;
      }
      break;
    case 5:
      Ramp(ctx, 50.0f);
      OpaciteSz2 = ramp_opacity(255.0, -1.0);
      DrawLayer1(ctx);
      DrawLayer2(ctx);
      if (progress_ == 50.0f) NextPhase(6);
      break;
    case 6:
      Ramp(ctx, 50.0f);
      OpaciteSz2 = ramp_opacity(127.5, -1.0);
      OpaciteSz = ramp_opacity(255.0, -1.0);
      DrawLayer1(ctx);
      DrawLayer2(ctx);
      if (progress_ == 50.0f) NextPhase(7);
      break;
    case 7:
      Ramp(ctx, 50.0f);
      OpaciteSz = ramp_opacity(127.5, -1.0);
      DrawLayer1(ctx);
      if (progress_ == 50.0f) {
        NextPhase(8);
        OpaciteSz = 0;
        OpaciteSz2 = 0;
        tTps1 = Round32Fast(static_cast<double>(ctx.random.Next()) * 1000.0 + 500.0);
      }
      break;
    case 8:
      AddStep(elapsed_, ctx.settings.TimeStep);
      if (elapsed_ >= tTps1) {
        NextPhase(9);
        tTps1 = Round32Fast(static_cast<double>(ctx.random.Next()) * 200.0 + 150.0);
      }
      break;
    case 9:
      Ramp(ctx, 40.0f);
      OpaciteSz = ramp_opacity(0.0, 1.0);
      DrawLayer1(ctx);
      if (progress_ == 40.0f) NextPhase(10);
      break;
    case 10:
      Ramp(ctx, 30.0f);
      OpaciteSz = ramp_opacity(76.5, -1.0);
      DrawLayer1(ctx);
      if (progress_ == 30.0f) {
        NextPhase(0);
        OpaciteSz = 0;
        tTps1 = 30;
      }
      break;
    default:
      break;  // finished, or a phase that does not exist: nothing at all
  }
}

void ClsLigneTitre1::InitLigne(const SceneContext& ctx) {
  letters_.clear();
  elapsed_ = 0;
  NbrCarSz = 0;
  EtatSz = 1;
  tTps1 = 500;
  const double p = LetterPitch(ctx.settings.LetterWidth);
  XSz = static_cast<float>(static_cast<double>(PosPremL) -
                           p * static_cast<double>(PosPremL / ctx.settings.LetterWidth + 1));
  const int32_t span = Round32Fast(static_cast<double>(ctx.settings.ScreenWidthPx) - XSz);
  // The glyph count is a 16-bit number; no screen is wide enough to need more.
  NbrCarNSz = std::min(span / Round32Fast(p) + 1, 32767);
  letters_.reserve(static_cast<size_t>(std::max(NbrCarNSz, 0)));
}

void ClsLigneTitre1::Afficher(SceneContext& ctx) {
  if (EtatSz == 0) return;
  AddStep(elapsed_, ctx.settings.TimeStep);
  // The frame that uses up the time still creates: with a step that does not divide tTps1
  // the row would otherwise stop short of the right edge.
  if (elapsed_ > tTps1) elapsed_ = tTps1;
  progress_ =
      static_cast<float>(static_cast<double>(elapsed_) / static_cast<double>(tTps1) * 100.0);
  toCreate_ = Round32Fast(static_cast<double>(NbrCarNSz) / 100.0 * static_cast<double>(progress_) -
                          static_cast<double>(NbrCarSz));
  const double p = LetterPitch(ctx.settings.LetterWidth);
  for (int32_t k = 0; k < toCreate_; ++k) {
    NbrCarSz = static_cast<int16_t>(NbrCarSz + 1);
    ClsLettre1& glyph = letters_.emplace_back();
    glyph.CarSz = Round32Fast(static_cast<double>(ctx.random.Next()) * 56.0);
    glyph.XSz = XSz;
    glyph.YSz = YSz;
    XSz = static_cast<float>(static_cast<double>(XSz) + p);
  }
  for (ClsLettre1& glyph : letters_) glyph.AfficherCar(ctx);
}

bool ClsLigneTitre1::Termine() const {
  if (EtatSz != 0 && elapsed_ < tTps1) return false;
  return std::all_of(letters_.begin(), letters_.end(),
                     [](const ClsLettre1& g) { return g.Etat == 0; });
}

}  // namespace vx
