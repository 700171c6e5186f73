#include "scene/title_queue.h"

#include <gtest/gtest.h>

namespace vx {
namespace {

TEST(TitleQueue, KeepsOnlyTheNewestWaitingTextsInOrder) {
  TitleQueue q;
  for (int i = 0; i < 1000; ++i) q.Push(std::to_string(i));
  ASSERT_EQ(q.Size(), TitleQueue::kMaxWaiting);
  EXPECT_EQ(q.TakeFirst(), "996");
  EXPECT_EQ(q.TakeFirst(), "997");
  EXPECT_EQ(q.Size(), 2u);
}

}  // namespace
}  // namespace vx
