#include "scene/draw_order.h"

#include <algorithm>

namespace vx {

void DrawOrder::RemoveAt(int32_t position) {
  if (position < 1 || position > Count()) return;
  elements_.erase(elements_.begin() + (position - 1));
}

void OrderBackToFront(std::span<const GlyphColumn> columns, const DrawOrder& list,
                      float eye_minus_target, std::vector<DepthKey>& keys,
                      std::vector<int32_t>& order) {
  const int32_t total = list.Count();
  keys.clear();
  for (int32_t j = 1; j <= total; ++j)
    keys.push_back({columns[static_cast<size_t>(list.At(j))].z, j});
  // The position breaks ties, which makes std::sort (no scratch allocation, unlike
  // std::stable_sort) give the stable order: among equal depths the earlier position first.
  if (eye_minus_target > 0.0f)
    std::sort(keys.begin(), keys.end(), [](const DepthKey& a, const DepthKey& b) {
      return a.z < b.z || (!(b.z < a.z) && a.position < b.position);
    });
  else
    std::sort(keys.begin(), keys.end(), [](const DepthKey& a, const DepthKey& b) {
      return a.z > b.z || (!(b.z > a.z) && a.position < b.position);
    });
  order.clear();
  for (const DepthKey& k : keys) order.push_back(list.At(k.position));
}

void OrderBackToFrontByScan(std::span<const GlyphColumn> columns, DrawOrder& list,
                            float eye_minus_target, std::vector<int32_t>& order) {
  auto z = [&](int32_t position) { return columns[static_cast<size_t>(list.At(position))].z; };
  order.clear();
  while (list.Count() >= 1) {
    int32_t best = 1;
    for (int32_t j = 1; j <= list.Count(); ++j) {
      if (eye_minus_target > 0.0f ? z(j) < z(best) : z(j) > z(best)) best = j;
    }
    order.push_back(list.At(best));
    list.RemoveAt(best);
  }
}

}  // namespace vx
