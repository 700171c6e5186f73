// A picture in memory: what the texture loader decodes and what a device reads back.
#pragma once

#include <cstdint>
#include <vector>

namespace vx {

struct RgbaImage {
  int width = 0, height = 0;
  std::vector<uint8_t> pixels;  // rows top to bottom, 4 bytes a pixel (R, G, B, A)
};

}  // namespace vx
