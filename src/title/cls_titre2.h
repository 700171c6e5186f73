// The title controller's state and the queue of title texts waiting to be shown.
#pragma once

#include <cstdint>
#include <deque>
#include <string>

namespace vx {

// 1-based in use: item 1 is front().
using TitleTextQueue = std::deque<std::string>;

class ClsTitre2 {
 public:
  std::string TitreSz;
  float XSz = 0.0f;
  float YSz = 0.0f;
  int16_t Etat = 0;  // 0 idle, 1 a title has been started

  // Takes the first queued text and starts it; with nothing queued it only goes idle.
  void InitTitre2(TitleTextQueue& queue);

  int16_t LetterCount() const { return letterCount_; }
  int16_t FinishedCount() const { return finishedCount_; }

 private:
  int16_t letterCount_ = 0;
  int16_t finishedCount_ = 0;
};

}  // namespace vx
