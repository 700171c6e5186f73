// A random generator that plays back a fixed sequence, for tests that pin every draw.
#pragma once

#include <deque>
#include <initializer_list>

#include "core/random.h"

namespace vx {

// Plays back a fixed sequence, then repeats its last value (0 when empty), counting draws.
class ScriptedRandom final : public Random {
 public:
  ScriptedRandom() = default;
  ScriptedRandom(std::initializer_list<float> values) : values_(values) {}
  float Next() override {
    ++draws_;
    if (values_.empty()) return last_;
    last_ = values_.front();
    values_.pop_front();
    return last_;
  }
  void Seed(uint32_t) override {}
  int Draws() const { return draws_; }

 private:
  std::deque<float> values_;
  float last_ = 0.0f;
  int draws_ = 0;
};

}  // namespace vx
