#include "render/corner_text.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace vx {
namespace {

constexpr int kGlyphWidth = 5, kGlyphHeight = 7;
constexpr int kAdvance = kGlyphWidth + 1, kLineHeight = kGlyphHeight + 2;
constexpr int32_t kTextColour = static_cast<int32_t>(0xFFFFFFFFu);
constexpr int32_t kBackingColour = static_cast<int32_t>(0xA0000000u);

struct Glyph {
  char c;
  std::array<uint8_t, kGlyphHeight> rows;  // bit 4 is the leftmost column
};

// Only what the display writes: digits, "FPS", "CPU" and their punctuation.
constexpr Glyph kFont[] = {
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}},
    {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}},
    {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}},
    {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}},
    {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}},
    {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
    {'.', {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}},
    {':', {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00}},
    {'%', {0x18, 0x19, 0x02, 0x04, 0x08, 0x13, 0x03}},
    {'F', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}},
    {'P', {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}},
    {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}},
    {'C', {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}},
    {'U', {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
};

const Glyph* Find(char c) {
  for (const Glyph& g : kFont)
    if (g.c == c) return &g;
  return nullptr;
}

void AddRectangle(std::vector<ScreenVertex>& out, float left, float top, float right, float bottom,
                  int32_t colour) {
  const auto v = [&](float x, float y) { return ScreenVertex{x, y, 0.0f, 1.0f, colour, 0, 0, 0}; };
  out.insert(out.end(), {v(left, top), v(right, top), v(left, bottom), v(right, top),
                         v(right, bottom), v(left, bottom)});
}

}  // namespace

std::vector<ScreenVertex> CornerTextTriangles(std::string_view text, const D3DViewport& viewport) {
  std::vector<ScreenVertex> out;
  std::vector<std::string_view> lines;
  size_t longest = 0;
  for (size_t start = 0; start <= text.size();) {
    const size_t end = std::min(text.find('\n', start), text.size());
    lines.push_back(text.substr(start, end - start));
    longest = std::max(longest, end - start);
    start = end + 1;
  }
  if (longest == 0) return out;
  // Readable at arm's length on a large screen, and never hidden in a small preview.
  const int scale = 1 + static_cast<int>(viewport.Height) / 400;
  const int margin = 4 * scale;
  const float left = static_cast<float>(viewport.X + static_cast<uint32_t>(margin));
  const float bottom = static_cast<float>(viewport.Y + viewport.Height) - margin;
  const float top = bottom - static_cast<float>(lines.size() * kLineHeight * scale);
  const float pad = static_cast<float>(2 * scale);
  AddRectangle(out, left - pad, top - pad,
               left + static_cast<float>(longest * kAdvance * scale) + pad, bottom, kBackingColour);
  for (size_t line = 0; line < lines.size(); ++line) {
    for (size_t i = 0; i < lines[line].size(); ++i) {
      const Glyph* glyph = Find(lines[line][i]);
      if (!glyph) continue;
      const float x0 = left + static_cast<float>(i * kAdvance * scale);
      for (int row = 0; row < kGlyphHeight; ++row) {
        const float y = top + static_cast<float>((line * kLineHeight + row) * scale);
        // One rectangle per run of lit pixels in the row.
        for (int col = 0; col < kGlyphWidth;) {
          if (!(glyph->rows[row] & (0x10 >> col))) {
            ++col;
            continue;
          }
          const int first = col;
          while (col < kGlyphWidth && (glyph->rows[row] & (0x10 >> col))) ++col;
          AddRectangle(out, x0 + static_cast<float>(first * scale), y,
                       x0 + static_cast<float>(col * scale), y + static_cast<float>(scale),
                       kTextColour);
        }
      }
    }
  }
  return out;
}

void DrawCornerText(Device& device, std::string_view text) {
  const std::vector<ScreenVertex> triangles = CornerTextTriangles(text, device.GetViewport());
  if (triangles.empty()) return;
  device.SetRenderState(D3DRS_ZENABLE, 0);
  device.SetTexture(0, nullptr);
  device.SetVertexShader(kFvfScreenVertex);
  device.DrawPrimitiveUP(D3DPT_TRIANGLELIST, static_cast<uint32_t>(triangles.size() / 3),
                         triangles.data(), sizeof(ScreenVertex));
  device.SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
}

}  // namespace vx
