#include "title/cls_titre2.h"

#include "core/numbers.h"
#include "core/random.h"
#include "scene/scene_context.h"
#include "title/title_quad.h"

namespace vx {

void QueueTitleText(TitleTextQueue& queue, std::string text) {
  queue.push_back(std::move(text));
  while (queue.size() > kMaxWaitingTitles) queue.pop_front();
}

void ClsTitre2::InitTitre2(SceneContext& ctx) {
  TitleTextQueue& queue = ctx.TitleQueue;
  if (queue.empty()) {
    Etat = 0;
    return;
  }
  TitreSz = std::move(queue.front());
  queue.pop_front();
  letterCount_ = 0;
  finishedCount_ = 0;
  Etat = 1;
  LayOut(ctx);
}

void ClsTitre2::LayOut(SceneContext& ctx) {
  const Settings& s = ctx.settings;
  const std::vector<int16_t> codes = TitleCharacterCodes(TitreSz);
  const double unit = static_cast<double>(s.LetterWidth) / 18.0;
  XSz = static_cast<float>(s.ScreenWidthPx / 2.0 - unit * 9.5 * static_cast<double>(codes.size()) -
                           unit * 19.0);
  YSz = static_cast<float>(s.ScreenHeightPx / 2.0 - s.LetterHeight / 2.0);

  letters_.clear();
  letters_.reserve(codes.size());
  for (size_t i = 1; i <= codes.size(); ++i) {
    const int16_t code = codes[i - 1];
    if (code == ' ') continue;  // a space keeps its place on the grid and shows nothing
    letterCount_ = static_cast<int16_t>(letterCount_ + 1);
    ClsLettreNormal& letter = letters_.emplace_back(ctx.random);
    letter.CarNorm = GlyphNumber(code);
    letter.XSz = static_cast<float>(unit * static_cast<double>(i) * 19.0 + XSz);
    letter.YSz = YSz;
    letter.Etat = 1;
    letter.CarBiz = Round32Fast(static_cast<double>(ctx.random.Next()) * 56.0);
  }

  if (!effect1_) effect1_.emplace(ctx);
  effect1_->Etat = 1;
  effect1_->InitFX(ctx);

  if (!titleLine_) titleLine_.emplace();
  titleLine_->YSz = YSz;
  titleLine_->PosPremL = Round32Fast(XSz);
  titleLine_->InitLigne(ctx);

  if (!effect3_) effect3_.emplace(ctx);
  effect3_->Etat = 1;
  effect3_->YSz = static_cast<float>(static_cast<double>(YSz) - 2.0);
}

void ClsTitre2::AfficherTitre(SceneContext& ctx) {
  if (Etat == 0) return;
  if (TitreSz.empty() || !effect1_ || !titleLine_ || !effect3_) {
    Etat = 0;
    return;
  }
  titleLine_->Afficher(ctx);
  for (ClsLettreNormal& letter : letters_) letter.AfficherCar(ctx, finishedCount_);
  effect1_->AfficherEffet(ctx);
  effect3_->AfficherEffet(ctx);
  if (finishedCount_ >= letterCount_ && effect1_->Etat == 0 && effect3_->Etat == 0 &&
      titleLine_->Termine())
    Etat = 0;
}

}  // namespace vx
