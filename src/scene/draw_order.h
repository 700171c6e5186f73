// The draw-order list, an ordered list of column indexes with 1-based positions, and the
// back-to-front order the frame draws the columns in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "scene/glyph_column.h"

namespace vx {

// Elements are 32-bit so that scenes with more than 32,767 columns keep distinct indexes.
// Emptying keeps the storage, so refilling it every frame allocates nothing once warm.
class DrawOrder {
 public:
  void Append(int32_t index) { elements_.push_back(index); }
  // Removes the element at a position; positions outside 1..Count() are ignored.
  void RemoveAt(int32_t position);
  void Clear() { elements_.clear(); }
  int32_t Count() const { return static_cast<int32_t>(elements_.size()); }
  // The element at a position, or 0 outside 1..Count().
  int32_t At(int32_t position) const {
    if (position < 1 || position > Count()) return 0;
    return elements_[static_cast<size_t>(position) - 1];
  }
  void Reserve(size_t n) { elements_.reserve(n); }

 private:
  std::vector<int32_t> elements_;
};

// A column's depth and its position in the list, for sorting.
struct DepthKey {
  float z;
  int32_t position;
};

// Fills `order` with the elements of `list` (column indexes) farthest first. With the eye on
// the +Z side of the target (eye_minus_target > 0) the smallest z is the farthest, otherwise
// the largest; equal depths keep their order in the list. Leaves `list` as it was.
void OrderBackToFront(std::span<const GlyphColumn> columns, const DrawOrder& list,
                      float eye_minus_target, std::vector<DepthKey>& keys,
                      std::vector<int32_t>& order);

// The same order found by repeated selection, emptying `list`: quadratic, kept as the
// reference the sort is checked and measured against.
void OrderBackToFrontByScan(std::span<const GlyphColumn> columns, DrawOrder& list,
                            float eye_minus_target, std::vector<int32_t>& order);

}  // namespace vx
