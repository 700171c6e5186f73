// The title controller: takes a queued title text, lays it out in flat screen letters centred
// on the screen, starts the title line and the effects, and runs them frame by frame until
// the title has played out.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "title/cls_effet1.h"
#include "title/cls_effet3.h"
#include "title/cls_lettre_normal.h"
#include "title/cls_ligne_titre1.h"

namespace vx {

struct SceneContext;

// 1-based in use: item 1 is front().
using TitleTextQueue = std::deque<std::string>;

// How many texts may wait while a title runs. The event script queues one per event, for as
// long as the saver runs; past this the oldest waiting text is dropped.
inline constexpr size_t kMaxWaitingTitles = 4;

// Appends a text to the queue, dropping the oldest waiting ones beyond kMaxWaitingTitles.
void QueueTitleText(TitleTextQueue& queue, std::string text);

class ClsTitre2 {
 public:
  std::string TitreSz;
  float XSz = 0.0f;  // layout origin: one pitch left of the first character
  float YSz = 0.0f;  // top of the letters
  int16_t Etat = 0;  // 0 idle, 1 a title is running

  // Takes the first queued text, lays it out and starts its objects; with nothing queued it
  // only goes idle.
  void InitTitre2(SceneContext& ctx);

  // One drawn frame of the running title, inside the scene, after the 3D lines: the title
  // line, the letters, the flash with its streaks, the band. Goes idle (Etat 0) once every
  // letter and every glyph of the line has ended and both effects are off; an empty text
  // shows nothing and goes idle at once.
  void AfficherTitre(SceneContext& ctx);

  int16_t LetterCount() const { return letterCount_; }
  int16_t FinishedCount() const { return finishedCount_; }
  const std::vector<ClsLettreNormal>& Letters() const { return letters_; }
  const std::optional<ClsEffet1>& Effect1() const { return effect1_; }
  const std::optional<ClsLigneTitre1>& TitleLine() const { return titleLine_; }
  const std::optional<ClsEffet3>& Effect3() const { return effect3_; }

 private:
  void LayOut(SceneContext& ctx);

  int16_t letterCount_ = 0;
  int16_t finishedCount_ = 0;
  std::vector<ClsLettreNormal> letters_;  // text order
  std::optional<ClsEffet1> effect1_;
  std::optional<ClsLigneTitre1> titleLine_;
  std::optional<ClsEffet3> effect3_;
};

}  // namespace vx
