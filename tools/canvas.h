// A small floating-point RGBA picture and the deterministic noise the painters share.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace vxtools {

struct Colour {
  float r = 0, g = 0, b = 0;
};

inline Colour Rgb(int hex) {
  return {((hex >> 16) & 255) / 255.0f, ((hex >> 8) & 255) / 255.0f, (hex & 255) / 255.0f};
}
inline Colour Mix(Colour a, Colour b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
inline Colour Scale(Colour a, float k) {
  return {a.r * k, a.g * k, a.b * k};
}
inline Colour Add(Colour a, Colour b) {
  return {a.r + b.r, a.g + b.g, a.b + b.b};
}
inline float Clamp01(float v) {
  return std::clamp(v, 0.0f, 1.0f);
}
inline float Smooth(float e0, float e1, float x) {
  float t = Clamp01((x - e0) / (e1 - e0));
  return t * t * (3 - 2 * t);
}

// Straight (not premultiplied) alpha, values 0..1.
struct Pixel {
  float r = 0, g = 0, b = 0, a = 0;
};

class Canvas {
 public:
  Canvas(int width, int height) : w_(width), h_(height), px_(size_t(width) * height) {}
  int Width() const { return w_; }
  int Height() const { return h_; }
  Pixel& At(int x, int y) { return px_[size_t(y) * w_ + x]; }
  const Pixel& At(int x, int y) const { return px_[size_t(y) * w_ + x]; }
  void Put(int x, int y, Colour c, float a = 1) {
    if (x >= 0 && y >= 0 && x < w_ && y < h_) At(x, y) = {c.r, c.g, c.b, a};
  }
  // Copies another canvas with its top-left corner at (x, y).
  void Blit(const Canvas& src, int x, int y) {
    for (int j = 0; j < src.h_; ++j)
      for (int i = 0; i < src.w_; ++i)
        if (x + i >= 0 && y + j >= 0 && x + i < w_ && y + j < h_) At(x + i, y + j) = src.At(i, j);
  }
  // 8-bit bytes, 3 or 4 channels, rounded to nearest.
  std::vector<uint8_t> Bytes(int channels) const {
    std::vector<uint8_t> out;
    out.reserve(px_.size() * channels);
    auto q = [](float v) { return static_cast<uint8_t>(std::lround(Clamp01(v) * 255.0f)); };
    for (const Pixel& p : px_) {
      // A fully transparent texel carries no colour, which keeps the PNG small.
      const bool clear = channels == 4 && q(p.a) == 0;
      out.push_back(clear ? 0 : q(p.r));
      out.push_back(clear ? 0 : q(p.g));
      out.push_back(clear ? 0 : q(p.b));
      if (channels == 4) out.push_back(q(p.a));
    }
    return out;
  }

 private:
  int w_, h_;
  std::vector<Pixel> px_;
};

// Integer hash noise: the same numbers on every machine and every run.
inline uint32_t Hash(uint32_t x, uint32_t y, uint32_t seed) {
  uint32_t h = x * 0x8da6b343u ^ y * 0xd8163841u ^ seed * 0xcb1ab31fu;
  h ^= h >> 13;
  h *= 0x5bd1e995u;
  h ^= h >> 15;
  return h;
}
inline float Hash01(int x, int y, uint32_t seed) {
  return (Hash(static_cast<uint32_t>(x), static_cast<uint32_t>(y), seed) >> 8) *
         (1.0f / 16777216.0f);
}
inline float ValueNoise(float x, float y, uint32_t seed) {
  const float fx = std::floor(x), fy = std::floor(y);
  const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
  float tx = x - fx, ty = y - fy;
  tx = tx * tx * (3 - 2 * tx);
  ty = ty * ty * (3 - 2 * ty);
  const float a = Hash01(ix, iy, seed), b = Hash01(ix + 1, iy, seed);
  const float c = Hash01(ix, iy + 1, seed), d = Hash01(ix + 1, iy + 1, seed);
  return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}
// Fractal noise in 0..1.
inline float Fbm(float x, float y, uint32_t seed, int octaves = 4) {
  float sum = 0, amp = 0.5f, norm = 0;
  for (int i = 0; i < octaves; ++i) {
    sum += ValueNoise(x, y, seed + 101u * i) * amp;
    norm += amp;
    x *= 2.03f;
    y *= 2.03f;
    amp *= 0.5f;
  }
  return sum / norm;
}

// A small seeded generator for layout choices (positions, sizes) in the painters.
class Dice {
 public:
  explicit Dice(uint32_t seed) : state_(seed * 2654435761u + 12345u) {}
  float Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return (state_ >> 8) * (1.0f / 16777216.0f);
  }
  float Range(float lo, float hi) { return lo + (hi - lo) * Next(); }

 private:
  uint32_t state_;
};

// Pictures the generator writes; each builds one canvas.
Canvas LettersAtlas(const std::vector<uint8_t>& font);
Canvas SceneryAtlas();
Canvas PreviewPicture(const Canvas& letters);
Canvas ButtonPicture(const std::string& state);
Canvas RadioMark(bool on);
Canvas BallPicture();
Canvas IconPicture(const Canvas& letters);
// The picture at another size: each pixel the average of the area it covers.
Canvas Resampled(const Canvas& source, int width, int height);
Canvas HandCursor();

// Atlas geometry shared by both atlases.
inline constexpr int kAtlasSize = 512;
inline constexpr int kCellWidth = 50;
inline constexpr int kCellHeight = 58;
inline constexpr int kCellsPerRow = 10;
inline int CellLeft(int cell) {
  return (cell % kCellsPerRow) * kCellWidth;
}
inline int CellTop(int cell) {
  return (cell / kCellsPerRow) * kCellHeight;
}

}  // namespace vxtools
