// The few 2D raster operations the dialog's animation uses, on a plain 24-bit RGB image.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vx {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

class RgbImage {
 public:
  RgbImage() = default;
  RgbImage(int width, int height) : width_(width), height_(height), pixels_(Count(width, height)) {}

  int Width() const { return width_; }
  int Height() const { return height_; }
  Rgb& At(int x, int y) { return pixels_[static_cast<size_t>(y) * width_ + x]; }
  const Rgb& At(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
  const std::vector<Rgb>& Pixels() const { return pixels_; }
  bool operator==(const RgbImage&) const = default;

 private:
  static size_t Count(int w, int h) {
    return w > 0 && h > 0 ? static_cast<size_t>(w) * static_cast<size_t>(h) : 0;
  }
  int width_ = 0, height_ = 0;
  std::vector<Rgb> pixels_;
};

// Constant-alpha blend of src over dst, both placed at (0, 0) and clipped to their common
// area: each channel becomes (dst x (255 - alpha) + src x alpha) / 255, truncated, so a fade
// toward black reaches black instead of sticking at 1.
void BlendConstant(RgbImage& dst, const RgbImage& src, uint8_t alpha);

// Per-pixel-alpha blend of a source without alpha: its channels are added to dst at (x, y),
// clamped at 255. Parts falling outside dst are clipped.
void BlendAdd(RgbImage& dst, int x, int y, const RgbImage& src);

// Plain copy of src into dst at (0, 0), clipped to dst.
void Copy(RgbImage& dst, const RgbImage& src);

}  // namespace vx
