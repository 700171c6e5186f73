// A vertical scroll bar's value as the dialog's bars hold it: 16 bits, a fixed range, small
// and large change 1.
#pragma once

#include <cstdint>

namespace vx {

class ScrollBarModel {
 public:
  ScrollBarModel(int16_t min, int16_t max) : min_(min), max_(max), value_(min) {}
  int16_t Min() const { return min_; }
  int16_t Max() const { return max_; }
  int16_t Value() const { return value_; }
  // False (value kept) when outside the range, as the platform's bar refuses it.
  bool SetValue(int32_t value) {
    if (value < min_ || value > max_) return false;
    value_ = static_cast<int16_t>(value);
    return true;
  }

 private:
  int16_t min_, max_, value_;
};

}  // namespace vx
