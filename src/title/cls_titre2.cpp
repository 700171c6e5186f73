#include "title/cls_titre2.h"

namespace vx {

void ClsTitre2::InitTitre2(TitleTextQueue& queue) {
  if (queue.empty()) {
    Etat = 0;
    return;
  }
  TitreSz = std::move(queue.front());
  queue.pop_front();
  letterCount_ = 0;
  finishedCount_ = 0;
  Etat = 1;
  // The title's letters, line and effects are laid out from TitreSz here once they exist.
}

}  // namespace vx
