// The title: takes a queued title text, lays it out in flat screen letters centred on the
// screen, starts the title row and the effects, and runs them frame by frame until the title
// has played out.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "scene/title_queue.h"
#include "title/sweep_band.h"
#include "title/title_canvas.h"
#include "title/title_context.h"
#include "title/title_flash.h"
#include "title/title_glyph_row.h"
#include "title/title_letter.h"

namespace vx {

enum class TitlePhase : int16_t { kIdle = 0, kRunning = 1 };

class TitleSequence {
 public:
  std::string text;
  float x = 0.0f;  // layout origin: one pitch left of the first character
  float y = 0.0f;  // top of the letters
  TitlePhase phase = TitlePhase::kIdle;

  // Takes the first queued text, lays it out and starts its objects; with nothing queued it
  // only goes idle.
  void Start(TitleQueue& queue, const TitleContext& ctx);

  // One drawn frame of the running title, after the 3D columns: the title row, the letters,
  // the flash with its streaks, the band. Goes idle once every letter and every glyph of the
  // row has ended and both effects are off; an empty text shows nothing and goes idle at once.
  void Step(const TitleContext& ctx, TitleCanvas& canvas);

  int16_t LetterCount() const { return letter_count_; }
  int16_t FinishedCount() const { return finished_count_; }
  const std::vector<TitleLetter>& Letters() const { return letters_; }
  const std::optional<TitleFlash>& Flash() const { return flash_; }
  const std::optional<TitleGlyphRow>& GlyphRow() const { return glyph_row_; }
  const std::optional<SweepBand>& Band() const { return band_; }

 private:
  void LayOut(const TitleContext& ctx);

  int16_t letter_count_ = 0;
  int16_t finished_count_ = 0;
  std::vector<TitleLetter> letters_;  // text order
  // Made by the first title and kept for the later ones.
  std::optional<TitleFlash> flash_;
  std::optional<TitleGlyphRow> glyph_row_;
  std::optional<SweepBand> band_;
};

}  // namespace vx
