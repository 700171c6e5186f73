#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "fakes/scene_harness.h"
#include "fakes/scripted_random.h"
#include "saver/draw_frame.h"
#include "title/cls_titre2.h"
#include "title/title_quad.h"

namespace vx {
namespace {

// A 1024 x 768 screen at the default letter size, all five texture slots filled.
struct TitleHarness : testing::SceneHarness<ScriptedRandom> {
  TitleHarness() {
    settings.ScreenWidthPx = 1024;
    settings.ScreenHeightPx = 768;
    ctx.title_row_layer1 = std::make_shared<RecordingTexture>("two");
    ctx.title_random_glyph = std::make_shared<RecordingTexture>("three");
    ctx.title_real_glyph = std::make_shared<RecordingTexture>("five");
  }
  std::vector<const DeviceCall*> Draws() const { return device.Draws(); }
};

uint32_t Argb(int32_t diffuse) {
  return static_cast<uint32_t>(diffuse);
}

TEST(TitleGlyphs, NumbersCellsAndCharacters) {
  struct Case {
    char c;
    int32_t glyph, u, v;
  };
  for (const Case& k : {Case{'a', 1, 0, 0}, Case{'c', 3, 100, 0}, Case{'A', 44, 150, 232},
                        Case{'C', 46, 250, 232}, Case{'0', 27, 300, 116}, Case{'{', 27, 300, 116},
                        Case{'~', 30, 450, 116}, Case{'_', 74, 150, 406}, Case{'`', 0, -50, 0},
                        Case{'!', -63, -200, -348}, Case{'/', -49, -0, -290}}) {
    SCOPED_TRACE(k.c);
    const int32_t g = GlyphNumber(static_cast<int16_t>(k.c));
    EXPECT_EQ(g, k.glyph);
    EXPECT_EQ(GlyphCell(g).u, k.u);
    EXPECT_EQ(GlyphCell(g).v, k.v);
  }
  EXPECT_FALSE(GlyphInAtlas(0));
  EXPECT_FALSE(GlyphInAtlas(-63));
  EXPECT_TRUE(GlyphInAtlas(1));
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
  TitleHarness h;
  DrawGlyphQuad(h.ctx, 44, 10.5f, 20.0f, 128, h.ctx.title_real_glyph);
  ASSERT_EQ(h.device.calls.size(), 3u);
  EXPECT_EQ(h.device.calls[0].kind, DeviceCall::kVertexShader);
  EXPECT_EQ(h.device.calls[0].a, 452u);
  EXPECT_EQ(h.device.calls[1].kind, DeviceCall::kTexture);
  EXPECT_EQ(h.device.calls[1].a, 0u);
  EXPECT_EQ(h.device.calls[1].texture, h.ctx.title_real_glyph.get());
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
    EXPECT_EQ(Argb(p.diffuse), 0x80FFFFFFu);
    EXPECT_EQ(p.specular, 0);
    EXPECT_EQ(p.tu, u[i] / 512.0f);
    EXPECT_EQ(p.tv, v[i] / 512.0f);
  }

  h.device.calls.clear();
  DrawGlyphQuad(h.ctx, 1, 0, 0, 0, h.ctx.title_row_layer1);
  EXPECT_EQ(Argb(h.device.Draws().at(0)->screen_vertices[0].diffuse), 0x00FFFFFFu);

  // Glyphs without a cell draw and bind nothing; effect quads bind nothing either.
  h.device.calls.clear();
  DrawGlyphQuad(h.ctx, 0, 0, 0, 255, h.ctx.title_real_glyph);
  DrawGlyphQuad(h.ctx, -63, 0, 0, 255, h.ctx.title_real_glyph);
  EXPECT_TRUE(h.device.calls.empty());
  DrawTitleQuad(h.ctx, 0, 127, -5, 7, 760, 25, 57, 512, 300, nullptr);
  ASSERT_EQ(h.device.calls.size(), 2u);
  EXPECT_EQ(h.device.calls[1].screen_vertices[3].tv, 184.0f / 512.0f);
  EXPECT_EQ(h.device.calls[1].screen_vertices[3].x, 755.0f);
  EXPECT_EQ(Argb(h.device.calls[1].screen_vertices[0].diffuse), 0xFFFFFFFFu);  // kept in range
}

// Runs an effect until it is off; returns how many calls found it on.
template <typename Effect>
int RunToEnd(TitleHarness& h, Effect& e, const std::function<void(int)>& each = {}) {
  int frames = 0;
  while (e.Etat != 0 && frames < 1000) {
    h.device.calls.clear();
    e.AfficherEffet(h.ctx);
    ++frames;
    if (each) each(frames);
  }
  return frames;
}

TEST(TitleEffect1, FlashOnA1024By768Screen) {
  TitleHarness h;
  h.random = ScriptedRandom{0.3f, 0.99f, 0.5f, 0.2f};  // streak 1: 160 units, 4 wide
  ClsEffet1 e(h.ctx);
  EXPECT_EQ(e.LTmp, 512);
  EXPECT_EQ(e.HTmp, 49);
  EXPECT_EQ(e.XSz, 256.0f);
  EXPECT_EQ(e.YSz, 359.5f);
  EXPECT_EQ(e.StreakOffset(), 16);  // 16.5 to even
  EXPECT_EQ(e.Streak(1).YSz, 375.5f);
  EXPECT_EQ(e.Streak(1).HTmp, 16);
  EXPECT_EQ(e.Streak(1).tTps1, 160);
  EXPECT_EQ(e.Streak(1).TailleSz, 4);
  EXPECT_EQ(e.Streak(2).DirectionSz, 25.0f);
  EXPECT_EQ(e.Streak(3).DirectionSz, -20.0f);
  EXPECT_EQ(e.Streak(2).TailleSz, 1);  // 0.2 + 1

  std::vector<int32_t> opacity;
  float widest = 0, widest_left = 0;
  const int frames = RunToEnd(h, e, [&](int frame) {
    const auto draws = h.Draws();
    ASSERT_GE(draws.size(), 1u);
    for (const auto& c : h.device.calls) ASSERT_NE(c.kind, DeviceCall::kTexture);
    const auto& flash = draws[0]->screen_vertices;
    opacity.push_back(static_cast<int32_t>(Argb(flash[0].diffuse) >> 24));
    if (frame == 25) {  // in the hold: full size, centred
      EXPECT_EQ(flash[0].x, 256.0f);
      EXPECT_EQ(flash[0].y, 359.5f);
      EXPECT_EQ(flash[3].x - flash[0].x, 512.0f);
      EXPECT_EQ(flash[3].y - flash[0].y, 49.0f);
      EXPECT_EQ(flash[3].tv, 49.0f / 512.0f);
    }
    if (draws.size() > 1) {
      const auto& s1 = draws[1]->screen_vertices;
      if (s1[1].x - s1[0].x > widest) {
        widest = s1[1].x - s1[0].x;
        widest_left = s1[0].x;
      }
    }
  });
  EXPECT_EQ(frames, 56);
  EXPECT_EQ(opacity[0], 33);    // 20 of 300 units, eased: 12.9 percent
  EXPECT_EQ(opacity[14], 255);  // growth complete
  EXPECT_EQ(opacity[15], 255);  // transition frame
  EXPECT_EQ(opacity[24], 255);  // last hold frame (8 + 1 transition)
  EXPECT_LT(opacity[25], 255);  // fading
  EXPECT_EQ(opacity[55], 0);
  EXPECT_EQ(e.Duration(), 300);
  // Streak 1 grew to 4 x 512 pixels, centred on the flash's centre (512).
  EXPECT_EQ(widest, 2048.0f);
  EXPECT_EQ(widest_left, 256.0f - 768.0f);
  for (int k = 1; k <= 6; ++k) EXPECT_EQ(e.Streak(k).Etat, 0) << k;
}

TEST(TitleEffect3, SweepAcrossTheScreen) {
  TitleHarness h;
  ClsEffet3 e(h.ctx);
  e.YSz = 371.5f;
  EXPECT_EQ(e.HauteurSz, 25);
  EXPECT_EQ(e.LargeurSz, 760);
  std::vector<float> left;
  std::vector<int32_t> opacity;
  const int frames = RunToEnd(h, e, [&](int) {
    const auto draws = h.Draws();
    ASSERT_EQ(draws.size(), 1u);
    const auto& q = draws[0]->screen_vertices;
    left.push_back(q[0].x);
    opacity.push_back(static_cast<int32_t>(Argb(q[0].diffuse) >> 24));
    EXPECT_EQ(q[0].y, 371.5f);
    EXPECT_EQ(q[3].x, q[0].x + 760.0f);
    EXPECT_EQ(q[0].tv, 127.0f / 512.0f);
  });
  EXPECT_EQ(frames, 32);  // 2 frames of delay, 30 of sweep
  EXPECT_EQ(left[0], -760.0f);
  EXPECT_EQ(opacity[0], 0);
  EXPECT_EQ(left[16], 132.0f);  // 50 percent: 1784 x 50 / 100 - 760
  EXPECT_EQ(opacity[16], 250);
  EXPECT_EQ(left[31], 1024.0f);
  EXPECT_EQ(opacity[31], 0);
  EXPECT_EQ(e.Duration(), 30);
  // A second run starts from the left again.
  e.Etat = 1;
  EXPECT_EQ(RunToEnd(h, e), 32);
}

// The phase of a normal letter on each frame until it ends, with what it drew.
struct LetterTrace {
  std::vector<int16_t> phase;     // phase at the start of each frame
  std::vector<int32_t> real;      // opacity of the real glyph drawn, -1 when not drawn
  std::vector<int32_t> textures;  // textures bound per frame
};

LetterTrace RunLetter(TitleHarness& h, ClsLettreNormal& l, int16_t& counter) {
  LetterTrace t;
  for (int i = 0; i < 1000 && l.Etat != 0; ++i) {
    h.device.calls.clear();
    t.phase.push_back(l.Etat);
    l.AfficherCar(h.ctx, counter);
    int32_t real = -1;
    for (const auto& c : h.device.calls)
      if (c.kind == DeviceCall::kTexture && c.texture == h.ctx.title_real_glyph.get()) real = 0;
    if (real == 0)
      real = static_cast<int32_t>(Argb(h.Draws()[0]->screen_vertices[0].diffuse) >> 24);
    t.real.push_back(real);
  }
  return t;
}

int CountPhase(const LetterTrace& t, int16_t phase) {
  return static_cast<int>(std::count(t.phase.begin(), t.phase.end(), phase));
}

TEST(TitleNormalLetter, ModeZeroFrameCounts) {
  TitleHarness h;
  h.random = ScriptedRandom{0.5f, 0.4f, 0.2f};  // tTps2 270, mode 0, hold 230
  ClsLettreNormal l(h.ctx.random);
  EXPECT_EQ(l.tTps1, 250);
  EXPECT_EQ(l.tTps2, 270);
  EXPECT_EQ(l.RandomMode(), 0);
  l.CarNorm = 44;
  l.Etat = 1;
  int16_t counter = 7;
  const LetterTrace t = RunLetter(h, l, counter);
  EXPECT_EQ(CountPhase(t, 1), 13);  // 260 units of delay
  EXPECT_EQ(CountPhase(t, 2), 20);
  EXPECT_EQ(CountPhase(t, 3), 12);   // 240 >= 230
  EXPECT_EQ(CountPhase(t, 4), 31);   // ends only past 600
  EXPECT_EQ(CountPhase(t, 5), 114);  // 2500 - 230 = 2270: 2280 >= 2270
  EXPECT_EQ(CountPhase(t, 6), 26);   // 520 > 500
  EXPECT_EQ(l.HoldTime(), 230);
  for (int i = 0; i < 13; ++i) EXPECT_EQ(t.real[static_cast<size_t>(i)], -1) << i;
  EXPECT_EQ(t.real[13], 13);   // 20 / 400 of 255 = 12.75
  EXPECT_EQ(t.real[32], 255);  // fade-in ends at full opacity
  for (size_t i = 33; i < 33 + 12 + 31 + 114; ++i) ASSERT_EQ(t.real[i], 255) << i;
  EXPECT_EQ(t.real.back(), 0);
  EXPECT_EQ(counter, 8);
  EXPECT_EQ(l.tTps1, 250);
  EXPECT_EQ(l.OpaciteSz2, 0);

  // Ended, or in a phase that does not exist: nothing changes, nothing is drawn.
  for (int16_t phase : {0, -1, 7, 200}) {
    l.Etat = phase;
    h.device.calls.clear();
    l.AfficherCar(h.ctx, counter);
    EXPECT_TRUE(h.device.calls.empty());
    EXPECT_EQ(l.Elapsed(), 0);
    EXPECT_EQ(counter, 8);
  }
}

TEST(TitleNormalLetter, RandomModeSwapsThenCrossFades) {
  TitleHarness h;
  h.random = ScriptedRandom{0.0f, 0.9f};  // tTps2 20, mode 1; then 0.9 for every draw
  ClsLettreNormal l(h.ctx.random);
  EXPECT_EQ(l.RandomMode(), 1);
  EXPECT_EQ(l.tTps2, 20);
  l.CarNorm = 1;
  l.CarBiz = 3;
  l.Etat = 2;
  int16_t counter = 0;
  h.random = ScriptedRandom{0.1f, 0.2f, 0.3f};
  for (int i = 0; i < 3; ++i) l.AfficherCar(h.ctx, counter);
  EXPECT_EQ(l.CarBiz, 17);  // 0.3 x 56 = 16.8:  // a new random glyph every frame
  // Only the random glyph shows until the cross-fade.
  for (const auto& c : h.device.calls)
    if (c.kind == DeviceCall::kTexture) {
      EXPECT_EQ(c.texture, h.ctx.title_random_glyph.get());
    }
  h.random = ScriptedRandom{0.0f};
  while (l.Etat == 2) l.AfficherCar(h.ctx, counter);
  EXPECT_EQ(l.tTps1, 30);  // hold 30
  while (l.Etat == 3) l.AfficherCar(h.ctx, counter);
  const int32_t shown = l.CarBiz;
  h.device.calls.clear();
  for (int i = 0; i < 15; ++i) l.AfficherCar(h.ctx, counter);  // half the cross-fade
  EXPECT_EQ(l.CarBiz, shown);
  // 50 x 2.55 is just below 127.5 in binary, so the two layers round apart.
  EXPECT_EQ(l.OpaciteSz, 127);
  EXPECT_EQ(l.OpaciteSz2, 128);
  const auto draws = h.Draws();
  ASSERT_GE(draws.size(), 2u);  // real glyph first, then the random one
  EXPECT_EQ(draws[draws.size() - 2]->screen_vertices[0].tu, 0.0f);
  while (l.Etat == 4) l.AfficherCar(h.ctx, counter);
  EXPECT_EQ(l.tTps1, 2470);  // 2500 - 30
}

TEST(TitleLine, OneLetterTitleOnA1024Screen) {
  TitleHarness h;
  h.random = ScriptedRandom{0.25f};
  ClsLigneTitre1 line;
  line.PosPremL = 484;  // a one-letter title's origin, 483.5 to even
  line.YSz = 373.5f;
  line.InitLigne(h.ctx);
  EXPECT_EQ(line.XSz, -29.0f);
  EXPECT_EQ(line.NbrCarNSz, 56);
  for (int frame = 1; frame <= 25; ++frame) line.Afficher(h.ctx);
  EXPECT_EQ(line.NbrCarSz, 56);
  ASSERT_EQ(line.Letters().size(), 56u);
  EXPECT_EQ(line.Letters()[0].XSz, -29.0f);
  EXPECT_EQ(line.Letters()[28].XSz, 503.0f);
  EXPECT_EQ(line.Letters()[55].XSz, -29.0f + 55 * 19);
  EXPECT_EQ(line.Letters()[0].CarSz, 14);
  line.Afficher(h.ctx);
  EXPECT_EQ(line.NbrCarSz, 56);

  // A step that does not divide 500 still fills the row to the right edge.
  h.settings.TimeStep = 17;
  line.InitLigne(h.ctx);
  for (int frame = 1; frame <= 30; ++frame) line.Afficher(h.ctx);
  EXPECT_EQ(line.NbrCarSz, 56);
  EXPECT_FALSE(line.Termine());
}

TEST(TitleLine, GlyphPhases) {
  TitleHarness h;
  h.random = ScriptedRandom{0.5f, 0.25f};  // wait 1000, blink 200
  ClsLettre1 g;
  g.CarSz = 5;
  std::vector<int16_t> phases;
  int32_t blink_peak = 0;
  int frames = 0;
  while (g.Etat != 0 && frames < 1000) {
    phases.push_back(g.Etat);
    g.AfficherCar(h.ctx);
    if (phases.back() == 9) blink_peak = std::max(blink_peak, g.OpaciteSz);
    ++frames;
  }
  const auto count = [&](int16_t p) { return std::count(phases.begin(), phases.end(), p); };
  EXPECT_EQ(count(1), 2);   // 30 units: 20, then clamped to 30
  EXPECT_EQ(count(4), 1);   // 10 units
  EXPECT_EQ(count(5), 3);   // 50 units
  EXPECT_EQ(count(8), 50);  // 1000 units
  EXPECT_EQ(count(9), 10);  // 200 units
  EXPECT_EQ(count(10), 10);
  EXPECT_EQ(blink_peak, 102);
  EXPECT_EQ(g.OpaciteSz, 0);
  EXPECT_EQ(g.tTps1, 30);
}

TEST(TitleLayout, LettersOfABSpaceC) {
  TitleHarness h;
  h.ctx.TitleQueue = {"AB C", "next"};
  ClsTitre2 t;
  t.InitTitre2(h.ctx);
  EXPECT_EQ(t.Etat, 1);
  EXPECT_EQ(t.TitreSz, "AB C");
  EXPECT_EQ(h.ctx.TitleQueue, (TitleTextQueue{"next"}));
  EXPECT_EQ(t.XSz, 455.0f);  // 512 - 9.5 x 4 - 19
  EXPECT_EQ(t.YSz, 373.5f);
  ASSERT_EQ(t.LetterCount(), 3);
  ASSERT_EQ(t.Letters().size(), 3u);
  const float xs[] = {474, 493, 531};  // positions 1, 2 and 4
  for (int i = 0; i < 3; ++i) {
    const ClsLettreNormal& l = t.Letters()[static_cast<size_t>(i)];
    EXPECT_EQ(l.CarNorm, 44 + i);
    EXPECT_EQ(l.XSz, xs[i]);
    EXPECT_EQ(l.YSz, 373.5f);
    EXPECT_EQ(l.Etat, 1);
  }
  EXPECT_EQ(t.Effect1()->Etat, 1);
  EXPECT_EQ(t.TitleLine()->PosPremL, 455);
  EXPECT_EQ(t.TitleLine()->EtatSz, 1);
  EXPECT_EQ(t.Effect3()->Etat, 1);
  EXPECT_EQ(t.Effect3()->YSz, 371.5f);

  // The next text replaces the letters; the effects are kept and restarted.
  const ClsEffet1* flash = &*t.Effect1();
  t.InitTitre2(h.ctx);
  EXPECT_EQ(t.LetterCount(), 4);
  EXPECT_EQ(&*t.Effect1(), flash);
  // Empty text: no letters, origin one pitch left of the centre.
  h.ctx.TitleQueue = {""};
  t.InitTitre2(h.ctx);
  EXPECT_EQ(t.LetterCount(), 0);
  EXPECT_TRUE(t.Letters().empty());
  EXPECT_EQ(t.XSz, 493.0f);
  // Nothing queued: only goes idle.
  t.InitTitre2(h.ctx);
  EXPECT_EQ(t.Etat, 0);
  EXPECT_EQ(t.XSz, 493.0f);
}

TEST(TitleQueue, KeepsOnlyTheNewestWaitingTexts) {
  TitleTextQueue q;
  for (int i = 0; i < 1000; ++i) QueueTitleText(q, std::to_string(i));
  EXPECT_EQ(q, (TitleTextQueue{"996", "997", "998", "999"}));
}

// The title inside real frames: over the lines, in its order, until it has played out.
TEST(TitleFrame, DrawnAfterTheLinesUntilFinishedThenIdle) {
  TitleHarness h;
  h.random = ScriptedRandom{0.5f};
  h.script = EventScript{};
  h.script.Append("txt", "Hi", "100000");
  h.LookFromBehind();
  ResetScene(h.ctx);
  SceneLoop loop;
  DrawFrame(h.ctx, loop);
  ASSERT_NE(h.ctx.Title, nullptr);
  EXPECT_EQ(h.ctx.Title->Etat, 1);
  // First frame: the line's first glyphs (layer 1, title_row_layer1), then the flash and streaks,
  // then the band, all screen quads after every scene quad, before EndScene.
  std::vector<Texture*> bound;
  bool screen_seen = false;
  size_t end_scene = 0, last_draw = 0;
  for (size_t i = 0; i < h.device.calls.size(); ++i) {
    const DeviceCall& c = h.device.calls[i];
    if (c.kind == DeviceCall::kEndScene) end_scene = i;
    if (c.kind == DeviceCall::kTexture && screen_seen) bound.push_back(c.texture);
    if (c.kind == DeviceCall::kDraw) {
      last_draw = i;
      if (c.value == 32) screen_seen = true;
      EXPECT_FALSE(screen_seen && c.value == 28) << "a line drawn over the title";
    }
  }
  EXPECT_LT(last_draw, end_scene);
  EXPECT_TRUE(std::all_of(bound.begin(), bound.end(),
                          [&](Texture* t) { return t == h.ctx.title_row_layer1.get(); }));
  const auto screen = [&] {
    std::vector<const DeviceCall*> out;
    for (const auto* d : h.Draws())
      if (d->value == 32) out.push_back(d);
    return out;
  };
  auto draws = screen();
  ASSERT_EQ(draws.size(), 2u + 7u + 1u);  // 2 glyphs (56 x 4 / 100), flash + 6 streaks, band
  EXPECT_EQ(draws[2]->screen_vertices[0].tv, 0.0f);             // the flash
  EXPECT_EQ(draws[9]->screen_vertices[0].tv, 127.0f / 512.0f);  // the band, last

  int frames = 1;
  bool letters_seen = false;
  while (h.ctx.Title->Etat != 0 && frames < 2000) {
    h.device.calls.clear();
    DrawFrame(h.ctx, loop);
    ++frames;
    for (const auto& c : h.device.calls)
      letters_seen |= c.kind == DeviceCall::kTexture && c.texture == h.ctx.title_real_glyph.get();
  }
  EXPECT_TRUE(letters_seen);
  EXPECT_EQ(h.ctx.Title->FinishedCount(), 2);
  EXPECT_GT(frames, 4250 / 20);
  EXPECT_LT(frames, 4250 / 20 + 20);
  // Idle: the frame draws no screen quad at all.
  h.device.calls.clear();
  DrawFrame(h.ctx, loop);
  EXPECT_TRUE(screen().empty());
}

TEST(TitleFrame, EmptyTextDrawsNothingAndLetsTheNextTextIn) {
  TitleHarness h;
  h.LookFromBehind();
  ResetScene(h.ctx);
  SceneLoop loop;
  for (int frame = 0; frame < 300; ++frame) DrawFrame(h.ctx, loop);
  for (const auto* d : h.Draws()) EXPECT_NE(d->value, 32);
  EXPECT_EQ(h.ctx.Title->Etat, 0);
  EXPECT_TRUE(h.ctx.TitleQueue.empty());
}

}  // namespace
}  // namespace vx
