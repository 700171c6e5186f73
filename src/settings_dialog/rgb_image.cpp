#include "settings_dialog/rgb_image.h"

#include <algorithm>

namespace vx {

void BlendConstant(RgbImage& dst, const RgbImage& src, uint8_t alpha) {
  const int w = std::min(dst.Width(), src.Width());
  const int h = std::min(dst.Height(), src.Height());
  const unsigned a = alpha, keep = 255u - alpha;
  auto mix = [&](uint8_t d, uint8_t s) { return static_cast<uint8_t>((d * keep + s * a) / 255u); };
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      Rgb& d = dst.At(x, y);
      const Rgb& s = src.At(x, y);
      d = {mix(d.r, s.r), mix(d.g, s.g), mix(d.b, s.b)};
    }
  }
}

void BlendAdd(RgbImage& dst, int x, int y, const RgbImage& src) {
  auto add = [](uint8_t d, uint8_t s) { return static_cast<uint8_t>(std::min(255, d + s)); };
  const int x0 = std::max(0, x), y0 = std::max(0, y);
  const int x1 = std::min(dst.Width(), x + src.Width());
  const int y1 = std::min(dst.Height(), y + src.Height());
  for (int dy = y0; dy < y1; ++dy) {
    for (int dx = x0; dx < x1; ++dx) {
      Rgb& d = dst.At(dx, dy);
      const Rgb& s = src.At(dx - x, dy - y);
      d = {add(d.r, s.r), add(d.g, s.g), add(d.b, s.b)};
    }
  }
}

void Copy(RgbImage& dst, const RgbImage& src) {
  const int w = std::min(dst.Width(), src.Width());
  const int h = std::min(dst.Height(), src.Height());
  if (w <= 0) return;
  for (int y = 0; y < h; ++y) {
    std::copy_n(&src.At(0, y), w, &dst.At(0, y));
  }
}

}  // namespace vx
