// The random generator's seed for one run of the saver.
#pragma once

#include <cstdint>

namespace vx {

// The time of day to the millisecond, so that savers started in the same second differ, mixed
// with something of the process's own, so that the savers a host starts together on several
// monitors never mirror each other.
inline uint32_t RunSeed(uint32_t milliseconds_since_midnight, uint32_t process_token) {
  uint32_t seed = milliseconds_since_midnight ^ (process_token * 0x9E3779B1u);
  // A final mix, so nearby inputs give unrelated seeds.
  seed ^= seed >> 16;
  seed *= 0x85EBCA6Bu;
  seed ^= seed >> 13;
  return seed;
}

// The seed of the scene on screen `screen` when the primary screen's is `primary`: the primary
// keeps it (a seeded run draws what it drew on one screen), every other screen gets its own,
// so neighbouring monitors never show the same picture.
inline uint32_t ScreenSeed(uint32_t primary, int screen) {
  if (screen == 0) return primary;
  // The mix is one-to-one in its token, so the other screens never share a seed; only the
  // primary's could come back, once in four billion.
  const uint32_t seed = RunSeed(primary, static_cast<uint32_t>(screen));
  return seed == primary ? ~seed : seed;
}

}  // namespace vx
