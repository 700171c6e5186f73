#include "scene/draw_order.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "fakes/scripted_random.h"

namespace vx {
namespace {

TEST(DrawOrder, OneBasedPositionsWithOutOfRangeIgnored) {
  DrawOrder list;
  EXPECT_EQ(list.At(1), 0);
  for (int v : {4, 8, 40000}) list.Append(v);  // indexes beyond 16 bits stay intact
  for (int position : {2, 3, 0, -1}) list.RemoveAt(position);
  EXPECT_EQ(std::make_tuple(list.Count(), list.At(0), list.At(1), list.At(2), list.At(3)),
            std::make_tuple(2, 0, 4, 40000, 0));
}

std::vector<GlyphColumn> ColumnsAt(const std::vector<float>& depths) {
  std::vector<GlyphColumn> columns;
  ScriptedRandom rnd;
  for (float z : depths) columns.emplace_back(Viewpoint{}, rnd).z = z;
  return columns;
}

TEST(DrawOrder, FarthestFirstOnEitherSideWithTiesInListOrder) {
  // With the eye on the +Z side the smallest z is farthest, otherwise the largest; ties keep
  // the lower position first in both directions; the list stays as it was.
  std::vector<DepthKey> keys;
  std::vector<int32_t> sorted, scanned;
  DrawOrder list;
  for (int i : {0, 1, 2, 3}) list.Append(i);
  OrderBackToFront(ColumnsAt({5, 3, 5, 3}), list, 1.0f, keys, sorted);
  EXPECT_EQ(sorted, (std::vector<int32_t>{1, 3, 0, 2}));
  OrderBackToFront(ColumnsAt({5, 3, 5, 3}), list, 0.0f, keys, sorted);
  EXPECT_EQ(sorted, (std::vector<int32_t>{0, 2, 1, 3}));
  EXPECT_EQ(list.Count(), 4);

  // The sort against the selection scan, over shuffled lists of mostly tied depths.
  MersenneRandom rnd(3);
  for (int round = 0; round < 60; ++round) {
    const int n = round % 4 == 0 ? round / 4 : 1 + static_cast<int>(rnd.Next() * 400);
    std::vector<float> depths;
    for (int i = 0; i < n; ++i)
      depths.push_back(std::floor(rnd.Next() * (1 + round % 7)) * 50.0f - 100.0f);
    const auto columns = ColumnsAt(depths);
    for (float d : {1.0f, -1.0f, 0.0f}) {
      list.Clear();
      for (int i = 0; i < n; ++i) list.Append((i * 7 + round) % n);
      OrderBackToFront(columns, list, d, keys, sorted);
      OrderBackToFrontByScan(columns, list, d, scanned);
      ASSERT_EQ(sorted, scanned) << "n=" << n << " d=" << d;
    }
  }
}

}  // namespace
}  // namespace vx
