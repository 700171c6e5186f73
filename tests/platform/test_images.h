// Pictures made in memory for the image loaders, and their pixels read one colour at a time.
#pragma once

#include <stb_image_write.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/common/texture_image.h"

namespace vx::test {

// 0xRRGGBBAA, so a whole colour is compared in one expectation.
inline uint32_t At(const RgbaImage& image, int x, int y) {
  const uint8_t* p = &image.pixels[(static_cast<size_t>(y) * image.width + x) * 4];
  return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

inline void Put(RgbaImage& image, int x, int y, uint32_t rgba) {
  uint8_t* p = &image.pixels[(static_cast<size_t>(y) * image.width + x) * 4];
  for (int c = 0; c < 4; ++c) p[c] = static_cast<uint8_t>(rgba >> (24 - 8 * c));
}

inline RgbaImage Solid(int width, int height, uint32_t rgba) {
  RgbaImage image{width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height * 4)};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) Put(image, x, y, rgba);
  return image;
}

inline std::string Png(const RgbaImage& image) {
  std::string bytes;
  stbi_write_png_to_func(
      [](void* out, void* data, int size) {
        static_cast<std::string*>(out)->append(static_cast<const char*>(data),
                                               static_cast<size_t>(size));
      },
      &bytes, image.width, image.height, 4, image.pixels.data(), image.width * 4);
  return bytes;
}

}  // namespace vx::test
