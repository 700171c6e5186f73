// The one drawing rule of the title objects: a textured, alpha-blended screen rectangle of
// four pre-transformed vertices, and the numbering that turns a title character into an
// atlas cell.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "ports/device.h"
#include "title/title_canvas.h"

namespace vx {

// Characters are taken from the title text one at a time; a text longer than this is cut, so
// the 16-bit position and letter counters of the layout cannot overflow.
inline constexpr size_t kMaxTitleCharacters = 32767;

// The ANSI code of every character of a UTF-8 text, in order. The atlas holds ASCII glyphs
// only: every other character (and every byte that is not valid UTF-8) counts as "?", as the
// system's ANSI conversion writes characters it cannot encode.
std::vector<int16_t> TitleCharacterCodes(std::string_view utf8);

// code - 96, lifted by 75 when that lands strictly between -49 and 0 (a..z 1..26, 0..9 27..36,
// A..Z 44..69, backquote 0). No range check: other codes give numbers outside the atlas.
int32_t GlyphNumber(int16_t code);

// Top-left texel of glyph k's cell: ((k - 1) mod 10) x 50, ((k - 1) div 10) x 58, truncating
// toward zero, so 0 and negative numbers address cells left of or above the texture.
struct GlyphCellTexels {
  int32_t u, v;
};
GlyphCellTexels GlyphCell(int32_t glyph);

// Whether glyph k's cell lies inside the 512 x 512 atlas (1 .. 80). Glyphs outside it (0,
// negative numbers, numbers past the last row) have no picture and are not drawn: they
// show as blanks, like a space, while their letter runs its phases as usual.
inline bool GlyphInAtlas(int32_t glyph) {
  return glyph >= 1 && glyph <= 80;
}

// The letter pitch: glyph width / 18 x 19 pixels (19 at the default width, one pixel of gap).
inline double LetterPitch(int32_t glyph_width) {
  return static_cast<double>(glyph_width) / 18.0 * 19.0;
}

// One title quad: (x, y) to (x + width, y + height) on screen, texture rectangle (u, v) to
// (u + cell_width, v + cell_height) in texels, white with alpha `opacity` (kept within
// 0 .. 255). Binds `texture` to stage 0 first when one is given; without one (the effects)
// nothing is bound and the quad samples the texture bound last. The vertices are assembled in
// the canvas's quad.
void DrawTitleQuad(TitleCanvas& canvas, float u, float v, float x, float y, int32_t width,
                   int32_t height, int32_t cell_height, int32_t cell_width, int32_t opacity,
                   std::optional<Texture*> texture = std::nullopt);

// A glyph quad: the glyph's 50 x 58 cell drawn at the canvas's glyph size at (x, y) from
// `texture`. Draws nothing (and binds nothing) for a glyph outside the atlas.
void DrawGlyphQuad(TitleCanvas& canvas, int32_t glyph, float x, float y, int32_t opacity,
                   Texture* texture);

}  // namespace vx
