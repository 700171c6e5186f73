#include "saver/run_seed.h"

#include <gtest/gtest.h>

#include <set>

namespace vx {
namespace {

TEST(RunSeed, RunsInTheSameSecondOrMillisecondGetDifferentSeeds) {
  std::set<uint32_t> seeds;
  for (uint32_t ms = 36000000; ms < 36001000; ms += 100)      // ten starts within one second
    for (uint32_t process = 4000; process < 4004; ++process)  // on four monitors at once
      seeds.insert(RunSeed(ms, process));
  EXPECT_EQ(seeds.size(), 40u);
}

}  // namespace
}  // namespace vx
