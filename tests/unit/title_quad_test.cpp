#include "title/title_quad.h"

#include <gtest/gtest.h>

#include "fakes/scene_harness.h"

namespace vx {
namespace {

TEST(TitleQuad, GlyphNumbersCellsAndCharacters) {
  struct Case {
    char c;
    int32_t glyph, u, v;
  };
  for (const Case& k :
       {Case{'a', 1, 0, 0}, Case{'c', 3, 100, 0}, Case{'A', 44, 150, 232}, Case{'0', 27, 300, 116},
        Case{'{', 27, 300, 116}, Case{'~', 30, 450, 116}, Case{'_', 74, 150, 406},
        Case{'`', 0, -50, 0}, Case{'!', -63, -200, -348}, Case{'/', -49, -0, -290}}) {
    SCOPED_TRACE(k.c);
    const int32_t g = GlyphNumber(static_cast<int16_t>(k.c));
    EXPECT_EQ(g, k.glyph);
    EXPECT_EQ(GlyphCell(g).u, k.u);
    EXPECT_EQ(GlyphCell(g).v, k.v);
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
  EXPECT_EQ(TitleCharacterCodes(std::string(40000, 'a')).size(), kMaxTitleCharacters);
}

TEST(TitleQuad, FourScreenVerticesOfOneGlyph) {
  testing::SceneHarness<> h;
  TitleCanvas& canvas = h.title_canvas;
  DrawGlyphQuad(canvas, 44, 10.5f, 20.0f, 128, canvas.real_glyph);
  ASSERT_EQ(h.device.calls.size(), 3u);
  EXPECT_EQ(h.device.calls[0].kind, DeviceCall::kVertexShader);
  EXPECT_EQ(h.device.calls[0].a, 452u);
  EXPECT_EQ(h.device.calls[1].kind, DeviceCall::kTexture);
  EXPECT_EQ(h.device.calls[1].texture, canvas.real_glyph);
  const DeviceCall& d = h.device.calls[2];
  EXPECT_EQ(d.a, D3DPT_TRIANGLESTRIP);
  EXPECT_EQ(d.b, 2u);
  EXPECT_EQ(d.value, 32);
  ASSERT_EQ(d.screen_vertices.size(), 4u);
  const float x[] = {10.5f, 28.5f, 10.5f, 28.5f}, y[] = {20, 20, 41, 41};
  const float u[] = {150, 200, 150, 200}, v[] = {232, 232, 290, 290};
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    const ScreenVertex& p = d.screen_vertices[static_cast<size_t>(i)];
    EXPECT_EQ(p.x, x[i]);
    EXPECT_EQ(p.y, y[i]);
    EXPECT_EQ(p.z, 0.0f);
    EXPECT_EQ(p.rhw, 1.0f);
    EXPECT_EQ(static_cast<uint32_t>(p.diffuse), 0x80FFFFFFu);
    EXPECT_EQ(p.tu, u[i] / 512.0f);
    EXPECT_EQ(p.tv, v[i] / 512.0f);
  }

  // Glyphs without a cell draw and bind nothing; effect quads bind nothing either, and keep
  // their opacity in range.
  h.device.calls.clear();
  DrawGlyphQuad(canvas, 0, 0, 0, 255, canvas.real_glyph);
  DrawGlyphQuad(canvas, -63, 0, 0, 255, canvas.real_glyph);
  EXPECT_TRUE(h.device.calls.empty());
  DrawTitleQuad(canvas, 0, 127, -5, 7, 760, 25, 57, 512, 300);
  ASSERT_EQ(h.device.calls.size(), 2u);
  EXPECT_EQ(h.device.calls[1].screen_vertices[3].tv, 184.0f / 512.0f);
  EXPECT_EQ(h.device.calls[1].screen_vertices[3].x, 755.0f);
  EXPECT_EQ(static_cast<uint32_t>(h.device.calls[1].screen_vertices[0].diffuse), 0xFFFFFFFFu);
}

}  // namespace
}  // namespace vx
