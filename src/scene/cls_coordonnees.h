// The draw-order list: an ordered list of line indexes with 1-based positions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vx {

// Elements are 32-bit so that scenes with more than 32,767 lines keep distinct indexes.
// Emptying keeps the storage, so refilling it every frame allocates nothing once warm.
class ClsCoordonnees {
 public:
  void Ajout(int32_t Index) { elements_.push_back(Index); }
  // Removes the element at a position; positions outside 1..TotalElements are ignored.
  void Enlever(int32_t Index);
  void ToutEffacer() { elements_.clear(); }
  int32_t TotalElements() const { return static_cast<int32_t>(elements_.size()); }
  // The element at a position, or 0 outside 1..TotalElements.
  int32_t ElementIndex(int32_t Index) const {
    if (Index < 1 || Index > TotalElements()) return 0;
    return elements_[static_cast<size_t>(Index) - 1];
  }
  void Reserve(size_t n) { elements_.reserve(n); }

 private:
  std::vector<int32_t> elements_;
};

}  // namespace vx
