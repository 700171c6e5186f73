// The program's one random generator: uniform floats in [0, 1).
#pragma once

#include <cstdint>
#include <deque>
#include <random>

namespace vx {

class Random {
 public:
  virtual ~Random() = default;
  virtual float Next() = 0;  // uniform in [0, 1)
  virtual void Seed(uint32_t seed) = 0;
};

// Deterministic for a given seed on every platform (no std::uniform_*_distribution, whose
// output differs between standard libraries).
class MersenneRandom final : public Random {
 public:
  explicit MersenneRandom(uint32_t seed = 5489u) : engine_(seed) {}
  float Next() override { return static_cast<float>(engine_() >> 8) * (1.0f / 16777216.0f); }
  void Seed(uint32_t seed) override { engine_.seed(seed); }

 private:
  std::mt19937 engine_;
};

// Plays back a fixed sequence, then repeats its last value (0 when empty). For tests.
class ScriptedRandom final : public Random {
 public:
  ScriptedRandom() = default;
  ScriptedRandom(std::initializer_list<float> values) : values_(values) {}
  void Push(float v) { values_.push_back(v); }
  float Next() override {
    ++draws_;
    if (values_.empty()) return last_;
    last_ = values_.front();
    values_.pop_front();
    return last_;
  }
  void Seed(uint32_t) override {}
  int draws() const { return draws_; }
  size_t remaining() const { return values_.size(); }

 private:
  std::deque<float> values_;
  float last_ = 0.0f;
  int draws_ = 0;
};

}  // namespace vx
