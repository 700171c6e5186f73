#include "title/title_quad.h"

#include <algorithm>

#include "render/vertices.h"

namespace vx {

namespace {
constexpr int16_t kUnknownCharacter = '?';

// Length of the UTF-8 sequence at text[i], or 0 when it is not a valid one.
size_t Utf8SequenceLength(std::string_view text, size_t i) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  size_t n = 0;
  uint32_t cp = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    n = 2;
    cp = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    n = 3;
    cp = lead & 0x0Fu;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    n = 4;
    cp = lead & 0x07u;
  } else {
    return 0;
  }
  if (i + n > text.size()) return 0;
  for (size_t k = 1; k < n; ++k) {
    if ((byte(i + k) & 0xC0u) != 0x80u) return 0;
    cp = (cp << 6) | (byte(i + k) & 0x3Fu);
  }
  // Overlong forms, surrogates and values past U+10FFFF are not characters.
  if ((n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
      (cp >= 0xD800 && cp <= 0xDFFF))
    return 0;
  return n;
}
}  // namespace

std::vector<int16_t> TitleCharacterCodes(std::string_view utf8) {
  std::vector<int16_t> codes;
  size_t i = 0;
  while (i < utf8.size() && codes.size() < kMaxTitleCharacters) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    if (lead < 0x80) {
      codes.push_back(static_cast<int16_t>(lead));
      ++i;
      continue;
    }
    const size_t n = Utf8SequenceLength(utf8, i);
    codes.push_back(kUnknownCharacter);
    i += n == 0 ? 1 : n;
  }
  return codes;
}

int32_t GlyphNumber(int16_t code) {
  int32_t glyph = static_cast<int32_t>(code) - 96;
  if (glyph > -49 && glyph < 0) glyph += 75;
  return glyph;
}

GlyphCellTexels GlyphCell(int32_t glyph) {
  // C++ division and remainder truncate toward zero, as the cell rule wants.
  const int32_t index = glyph - 1;
  return {(index % 10) * 50, (index / 10) * 58};
}

void DrawTitleQuad(TitleCanvas& canvas, float u, float v, float x, float y, int32_t width,
                   int32_t height, int32_t cell_height, int32_t cell_width, int32_t opacity,
                   std::optional<Texture*> texture) {
  canvas.device.SetVertexShader(kFvfScreenVertex);
  // Every opacity the title computes is within range; the clamp keeps a slip from turning
  // into a wrapped, garbage colour.
  const int32_t diffuse = PackColour(std::clamp(opacity, 0, 255), 0xFFFFFF);
  const float x1 = x + static_cast<float>(width);
  const float y1 = y + static_cast<float>(height);
  const float tu0 = u / 512.0f;
  const float tv0 = v / 512.0f;
  const float tu1 = (u + static_cast<float>(cell_width)) / 512.0f;
  const float tv1 = (v + static_cast<float>(cell_height)) / 512.0f;
  auto& q = canvas.quad;
  q[0] = MakeScreenVertex(x, y, 0.0f, 1.0f, diffuse, 0, tu0, tv0);
  q[1] = MakeScreenVertex(x1, y, 0.0f, 1.0f, diffuse, 0, tu1, tv0);
  q[2] = MakeScreenVertex(x, y1, 0.0f, 1.0f, diffuse, 0, tu0, tv1);
  q[3] = MakeScreenVertex(x1, y1, 0.0f, 1.0f, diffuse, 0, tu1, tv1);
  if (texture) canvas.device.SetTexture(0, *texture);
  canvas.device.DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, q.data(), sizeof(ScreenVertex));
}

void DrawGlyphQuad(TitleCanvas& canvas, int32_t glyph, float x, float y, int32_t opacity,
                   Texture* texture) {
  if (!GlyphInAtlas(glyph)) return;
  const GlyphCellTexels cell = GlyphCell(glyph);
  DrawTitleQuad(canvas, static_cast<float>(cell.u), static_cast<float>(cell.v), x, y,
                canvas.glyph_width, canvas.glyph_height, 58, 50, opacity, texture);
}

}  // namespace vx
