#include "title/title_sequence.h"

#include "core/numbers.h"
#include "title/title_quad.h"

namespace vx {

void TitleSequence::Start(TitleQueue& queue, const TitleContext& ctx) {
  if (queue.Empty()) {
    phase = TitlePhase::kIdle;
    return;
  }
  text = queue.TakeFirst();
  letter_count_ = 0;
  finished_count_ = 0;
  phase = TitlePhase::kRunning;
  LayOut(ctx);
}

void TitleSequence::LayOut(const TitleContext& ctx) {
  const std::vector<int16_t> codes = TitleCharacterCodes(text);
  const double unit = static_cast<double>(ctx.glyph_width) / 18.0;
  x = static_cast<float>(ctx.screen_width / 2.0 - unit * 9.5 * static_cast<double>(codes.size()) -
                         unit * 19.0);
  y = static_cast<float>(ctx.screen_height / 2.0 - ctx.glyph_height / 2.0);

  letters_.clear();
  letters_.reserve(codes.size());
  for (size_t i = 1; i <= codes.size(); ++i) {
    const int16_t code = codes[i - 1];
    if (code == ' ') continue;  // a space keeps its place on the grid and shows nothing
    letter_count_ = static_cast<int16_t>(letter_count_ + 1);
    TitleLetter& letter = letters_.emplace_back(ctx.random);
    letter.real_glyph = GlyphNumber(code);
    letter.x = static_cast<float>(unit * static_cast<double>(i) * 19.0 + x);
    letter.y = y;
    letter.phase = TitleLetterPhase::kDelay;
    letter.random_glyph = Round32Fast(static_cast<double>(ctx.random.Next()) * 56.0);
  }

  if (!flash_) flash_.emplace(ctx);
  flash_->phase = FlashPhase::kGrow;
  flash_->Restart(ctx);

  if (!glyph_row_) glyph_row_.emplace();
  glyph_row_->y = y;
  glyph_row_->first_letter_x = Round32Fast(x);
  glyph_row_->Start(ctx);

  if (!band_) band_.emplace(ctx);
  band_->phase = SweepPhase::kDelay;
  band_->y = static_cast<float>(static_cast<double>(y) - 2.0);
}

void TitleSequence::Step(const TitleContext& ctx, TitleCanvas& canvas) {
  if (phase == TitlePhase::kIdle) return;
  if (text.empty() || !flash_ || !glyph_row_ || !band_) {
    phase = TitlePhase::kIdle;
    return;
  }
  glyph_row_->Step(ctx, canvas);
  for (TitleLetter& letter : letters_) letter.Step(ctx, canvas, finished_count_);
  flash_->Step(ctx, canvas);
  band_->Step(ctx, canvas);
  if (finished_count_ >= letter_count_ && flash_->phase == FlashPhase::kOff &&
      band_->phase == SweepPhase::kOff && glyph_row_->Finished())
    phase = TitlePhase::kIdle;
}

}  // namespace vx
