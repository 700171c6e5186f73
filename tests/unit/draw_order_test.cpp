#include "scene/draw_order.h"

#include <gtest/gtest.h>

#include <cmath>

#include "fakes/scripted_random.h"

namespace vx {
namespace {

TEST(DrawOrder, OneBasedPositionsWithOutOfRangeIgnored) {
  DrawOrder list;
  EXPECT_EQ(list.At(1), 0);
  for (int v : {4, 8, 9}) list.Append(v);
  list.RemoveAt(2);
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(list.At(1), 4);
  EXPECT_EQ(list.At(2), 9);
  for (int outside : {3, 0, -1}) list.RemoveAt(outside);
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(list.At(0), 0);
  EXPECT_EQ(list.At(3), 0);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  list.Append(40000);  // column indexes beyond 16 bits stay intact
  EXPECT_EQ(list.At(1), 40000);
}

std::vector<GlyphColumn> ColumnsAt(const std::vector<float>& depths) {
  std::vector<GlyphColumn> columns;
  ScriptedRandom rnd;
  for (float z : depths) columns.emplace_back(Viewpoint{}, rnd).z = z;
  return columns;
}

TEST(DrawOrder, SortedOrderEqualsTheSelectionScan) {
  MersenneRandom rnd(3);
  std::vector<DepthKey> keys;
  std::vector<int32_t> sorted, scanned;
  for (int round = 0; round < 60; ++round) {
    const int n = round % 4 == 0 ? round / 4 : 1 + static_cast<int>(rnd.Next() * 400);
    std::vector<float> depths;
    for (int i = 0; i < n; ++i)  // few distinct values, so most depths are tied
      depths.push_back(std::floor(rnd.Next() * (1 + round % 7)) * 50.0f - 100.0f);
    const auto columns = ColumnsAt(depths);
    for (float d : {1.0f, -1.0f, 0.0f}) {
      DrawOrder list;
      // Shuffled list order: the tie rule follows positions, not column indexes.
      for (int i = 0; i < n; ++i) list.Append((i * 7 + round) % n);
      OrderBackToFront(columns, list, d, keys, sorted);
      OrderBackToFrontByScan(columns, list, d, scanned);
      ASSERT_EQ(sorted, scanned) << "n=" << n << " d=" << d;
      EXPECT_EQ(list.Count(), 0);
    }
  }
  // By hand: farthest first; ties keep the lower position first in both directions.
  const auto columns = ColumnsAt({5, 3, 5, 3});
  DrawOrder list;
  for (int i = 0; i < 4; ++i) list.Append(i);
  OrderBackToFront(columns, list, 1.0f, keys, sorted);
  EXPECT_EQ(sorted, (std::vector<int32_t>{1, 3, 0, 2}));
  OrderBackToFront(columns, list, 0.0f, keys, sorted);
  EXPECT_EQ(sorted, (std::vector<int32_t>{0, 2, 1, 3}));
}

}  // namespace
}  // namespace vx
