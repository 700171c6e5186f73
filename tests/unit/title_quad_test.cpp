#include "title/title_quad.h"

#include <gtest/gtest.h>

#include <tuple>

#include "fakes/scene_harness.h"

namespace vx {
namespace {

TEST(TitleQuad, GlyphNumbersCellsAndCharacters) {
  // Character, glyph number, cell texels: numbers past the letters wrap by 75, and ones
  // outside the atlas address cells left of or above it, truncating toward zero.
  for (auto [c, glyph, u, v] : {std::tuple{'a', 1, 0, 0},
                                {'c', 3, 100, 0},
                                {'A', 44, 150, 232},
                                {'0', 27, 300, 116},
                                {'{', 27, 300, 116},
                                {'~', 30, 450, 116},
                                {'_', 74, 150, 406},
                                {'`', 0, -50, 0},
                                {'!', -63, -200, -348},
                                {'/', -49, 0, -290}}) {
    const int32_t g = GlyphNumber(static_cast<int16_t>(c));
    EXPECT_EQ(std::make_tuple(g, GlyphCell(g).u, GlyphCell(g).v), std::make_tuple(glyph, u, v))
        << c;
  }
  EXPECT_FALSE(GlyphInAtlas(0));
  EXPECT_TRUE(GlyphInAtlas(80));   // last row inside the texture
  EXPECT_FALSE(GlyphInAtlas(81));  // its cell would reach below the texture
  // UTF-8 text: one code per character; what the atlas cannot show counts as '?'.
  EXPECT_EQ(TitleCharacterCodes("Ab 1"), (std::vector<int16_t>{'A', 'b', ' ', '1'}));
  EXPECT_EQ(TitleCharacterCodes("\xC3\xA9t\xE6\x97\xA5\xF0\x9F\x98\x80"),
            (std::vector<int16_t>{'?', 't', '?', '?'}));
  EXPECT_EQ(TitleCharacterCodes("\xFF\xE6\x97x\xC0\xAF"),  // stray, cut and overlong bytes
            (std::vector<int16_t>{'?', '?', '?', 'x', '?', '?'}));
  EXPECT_EQ(GlyphNumber('?'), 42);
  EXPECT_EQ(TitleCharacterCodes(std::string(40000, 'a')).size(), 32767u);
}

TEST(TitleQuad, FourScreenVerticesOfOneGlyphAndEffectQuadsWithoutTextures) {
  SceneHarness h;
  TitleCanvas& canvas = h.title_canvas;
  DrawGlyphQuad(canvas, 44, 10.5f, 20.0f, 128, canvas.real_glyph);
  ASSERT_EQ(h.device.Draws().size(), 1u);
  EXPECT_EQ(h.device.calls[0].a, 452u);  // the screen-vertex format
  EXPECT_EQ(h.device.Bound(), std::vector<Texture*>{canvas.real_glyph});
  const float x[] = {10.5f, 28.5f, 10.5f, 28.5f}, y[] = {20, 20, 41, 41};
  const float u[] = {150, 200, 150, 200}, v[] = {232, 232, 290, 290};
  for (size_t i = 0; i < 4; ++i) {
    const ScreenVertex& p = h.device.Draws()[0]->screen_vertices.at(i);
    EXPECT_EQ(std::make_tuple(p.x, p.y, p.z, p.rhw, p.tu, p.tv, static_cast<uint32_t>(p.diffuse)),
              std::make_tuple(x[i], y[i], 0.0f, 1.0f, u[i] / 512, v[i] / 512, 0x80FFFFFFu))
        << i;
  }
  // Glyphs without a cell draw and bind nothing; effect quads bind nothing either, and keep
  // their opacity in range.
  h.device.calls.clear();
  DrawGlyphQuad(canvas, 0, 0, 0, 255, canvas.real_glyph);
  DrawGlyphQuad(canvas, -63, 0, 0, 255, canvas.real_glyph);
  EXPECT_TRUE(h.device.calls.empty());
  DrawTitleQuad(canvas, 0, 127, -5, 7, 760, 25, 57, 512, 300);
  DrawTitleQuad(canvas, 0, 127, -5, 7, 760, 25, 57, 512, -4);
  ASSERT_EQ(h.device.Draws().size(), 2u);
  EXPECT_TRUE(h.device.Bound().empty());
  const ScreenVertex& corner = h.device.Draws()[0]->screen_vertices[3];
  EXPECT_EQ(std::make_tuple(corner.x, corner.y, corner.tv, static_cast<uint32_t>(corner.diffuse)),
            std::make_tuple(755.0f, 32.0f, 184.0f / 512, 0xFFFFFFFFu));
  EXPECT_EQ(static_cast<uint32_t>(h.device.Draws()[1]->screen_vertices[0].diffuse), 0xFFFFFFu);
}

}  // namespace
}  // namespace vx
