// The program's one random generator: uniform floats in [0, 1).
#pragma once

#include <cstdint>
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

}  // namespace vx
