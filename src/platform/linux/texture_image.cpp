#include "platform/linux/texture_image.h"

#include <stb_image.h>

#include <limits>

#include "ports/device.h"

namespace vx {

RgbaImage DecodeImage(const std::vector<uint8_t>& bytes, const std::string& name_for_errors) {
  if (bytes.empty() || bytes.size() > static_cast<size_t>(std::numeric_limits<int>::max()))
    throw DeviceError("cannot decode the image " + name_for_errors);
  int w = 0, h = 0, channels = 0;
  stbi_uc* data =
      stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &w, &h, &channels, 4);
  if (!data) {
    throw DeviceError("cannot decode the image " + name_for_errors + ": " + stbi_failure_reason());
  }
  RgbaImage image;
  image.Width = w;
  image.Height = h;
  image.Pixels.assign(data, data + static_cast<size_t>(w) * static_cast<size_t>(h) * 4);
  stbi_image_free(data);
  return image;
}

RgbaImage ScaleNearest(const RgbaImage& source, int width, int height) {
  RgbaImage out;
  out.Width = width;
  out.Height = height;
  out.Pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  for (int y = 0; y < height; ++y) {
    // The source pixel under the target pixel's centre, in integers so that exact ratios
    // (a halving, a doubling) never land on a rounding edge.
    const int sy = static_cast<int>((2LL * y + 1) * source.Height / (2LL * height));
    for (int x = 0; x < width; ++x) {
      const int sx = static_cast<int>((2LL * x + 1) * source.Width / (2LL * width));
      const uint8_t* from = &source.Pixels[(static_cast<size_t>(sy) * source.Width + sx) * 4];
      uint8_t* to = &out.Pixels[(static_cast<size_t>(y) * width + x) * 4];
      for (int c = 0; c < 4; ++c) to[c] = from[c];
    }
  }
  return out;
}

std::vector<RgbaImage> PointMipChain(RgbaImage base) {
  std::vector<RgbaImage> chain;
  chain.push_back(std::move(base));
  while (chain.back().Width > 1 || chain.back().Height > 1) {
    const RgbaImage& above = chain.back();
    const int w = above.Width > 1 ? above.Width / 2 : 1;
    const int h = above.Height > 1 ? above.Height / 2 : 1;
    chain.push_back(ScaleNearest(above, w, h));
  }
  return chain;
}

}  // namespace vx
