// The letters atlas: luminous glyphs, a white-hot core inside a soft aqua glow, on a
// transparent background. Glyph number k sits in cell k - 1.
#include <stb_truetype.h>

#include <stdexcept>

#include "canvas.h"

namespace vxtools {
namespace {

// The glyph number the title gives a character (its code - 96, lifted by 75 when that lands
// strictly between -49 and 0), for the characters whose numbers fall inside the grid.
int GlyphNumber(char c) {
  int g = static_cast<unsigned char>(c) - 96;
  if (g > -49 && g < 0) g += 75;
  return g;
}

constexpr const char* kCharacters =
    "abcdefghijklmnopqrstuvwxyz0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_";

std::vector<float> Blur(const std::vector<float>& src, int w, int h, float sigma) {
  const int radius = static_cast<int>(std::ceil(sigma * 3));
  std::vector<float> kernel(2 * radius + 1);
  float sum = 0;
  for (int i = -radius; i <= radius; ++i)
    sum += kernel[i + radius] = std::exp(-i * i / (2 * sigma * sigma));
  for (float& k : kernel) k /= sum;
  std::vector<float> tmp(src.size()), out(src.size());
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      float v = 0;
      for (int i = -radius; i <= radius; ++i)
        if (x + i >= 0 && x + i < w) v += src[y * w + x + i] * kernel[i + radius];
      tmp[y * w + x] = v;
    }
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      float v = 0;
      for (int i = -radius; i <= radius; ++i)
        if (y + i >= 0 && y + i < h) v += tmp[(y + i) * w + x] * kernel[i + radius];
      out[y * w + x] = v;
    }
  return out;
}

}  // namespace

Canvas LettersAtlas(const std::vector<uint8_t>& font) {
  stbtt_fontinfo info;
  if (!stbtt_InitFont(&info, font.data(), stbtt_GetFontOffsetForIndex(font.data(), 0)))
    throw std::runtime_error("the font file cannot be read");

  constexpr int kMargin = 5;  // room for the glow inside the cell
  const float em = 45.0f;
  float scale = stbtt_ScaleForPixelHeight(&info, em);
  int ascent = 0, descent = 0, gap = 0;
  stbtt_GetFontVMetrics(&info, &ascent, &descent, &gap);
  // Centre the line box (ascent to descent) in the cell so every glyph shares one baseline.
  const float line = (ascent - descent) * scale;
  const float baseline = (kCellHeight - line) / 2 + ascent * scale + 1;

  const Colour glow = Rgb(0x38b8ff);
  const Colour inner = Rgb(0xa8f0ff);
  Canvas atlas(kAtlasSize, kAtlasSize);
  for (const char* p = kCharacters; *p; ++p) {
    const int cell = GlyphNumber(*p) - 1;
    // Over-wide glyphs (M, W, m, w, @) shrink about the baseline to keep the glow in the cell.
    int x0, y0, x1, y1;
    stbtt_GetCodepointBitmapBox(&info, *p, scale, scale, &x0, &y0, &x1, &y1);
    float s = scale;
    const float room = kCellWidth - 2.0f * kMargin;
    if (x1 - x0 > room) s = scale * room / (x1 - x0 + 1);
    stbtt_GetCodepointBitmapBox(&info, *p, s, s, &x0, &y0, &x1, &y1);
    const int gw = x1 - x0, gh = y1 - y0;
    std::vector<unsigned char> bitmap(size_t(std::max(gw, 1)) * std::max(gh, 1));
    stbtt_MakeCodepointBitmap(&info, bitmap.data(), gw, gh, gw, s, s, *p);

    std::vector<float> core(size_t(kCellWidth) * kCellHeight, 0.0f);
    const int left = (kCellWidth - gw) / 2;
    const int top = static_cast<int>(std::lround(baseline)) + y0;
    for (int y = 0; y < gh; ++y)
      for (int x = 0; x < gw; ++x) {
        const int cx = left + x, cy = top + y;
        if (cx >= 1 && cy >= 1 && cx < kCellWidth - 1 && cy < kCellHeight - 1)
          core[cy * kCellWidth + cx] = bitmap[y * gw + x] / 255.0f;
      }
    const auto halo = Blur(core, kCellWidth, kCellHeight, 1.3f);
    const auto haze = Blur(core, kCellWidth, kCellHeight, 3.6f);

    for (int y = 0; y < kCellHeight; ++y)
      for (int x = 0; x < kCellWidth; ++x) {
        const size_t i = size_t(y) * kCellWidth + x;
        // Keep the outermost ring clear so linear filtering never pulls in a neighbour.
        const float edge =
            std::min({x, y, kCellWidth - 1 - x, kCellHeight - 1 - y}) == 0 ? 0.0f : 1.0f;
        const float c = core[i];
        const float g = Clamp01(halo[i] * 1.25f) * 0.85f + Clamp01(haze[i] * 2.2f) * 0.55f;
        const float ga = Clamp01(g) * (1 - c);
        const float a = Clamp01(c + ga) * edge;
        if (a <= 0) continue;
        // Premultiplied sum: a white-hot core fading to pale aqua at its rims, over the glow.
        const Colour core_colour = Mix(inner, Rgb(0xffffff), Smooth(0.35f, 1.0f, halo[i] * 1.1f));
        const Colour glow_colour = Mix(glow, inner, Clamp01(halo[i] * 1.2f));
        const Colour sum = Add(Scale(core_colour, c), Scale(glow_colour, ga));
        atlas.At(CellLeft(cell) + x, CellTop(cell) + y) = {sum.r / (c + ga), sum.g / (c + ga),
                                                           sum.b / (c + ga), a};
      }
  }
  return atlas;
}

}  // namespace vxtools
