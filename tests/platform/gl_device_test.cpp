// The OpenGL device drawn headless and read back: what Direct3D would have lit, blended and
// sampled with the states the saver sets.
#include "platform/linux/gl_device.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <random>
#include <type_traits>
#include <utility>

#include "fakes/temp_dir.h"
#include "platform/test_images.h"
#include "render/device_setup.h"
#include "render/vertices.h"
#include "scene/glyph.h"

namespace vx {
namespace {

using test::At;
using test::Png;
using test::Solid;

// A quad in one colour, its corners in the order the title's (ScreenVertex) and the glyphs'
// (SceneVertex) quads put them.
template <typename Vertex>
void Quad(Device& device, std::array<float, 4> xyxy, float z, uint32_t argb,
          std::array<float, 4> uvuv = {0, 0, 1, 1}) {
  constexpr bool kScreen = std::is_same_v<Vertex, ScreenVertex>;
  const auto [x0, y0, x1, y1] = xyxy;
  const auto [u0, v0, u1, v1] = uvuv;
  const auto c = static_cast<int32_t>(argb);
  const auto make = [&](float x, float y, float u, float v) {
    if constexpr (kScreen) return MakeScreenVertex(x, y, z, 1, c, 0, u, v);
    if constexpr (!kScreen) return MakeSceneVertex(x, y, z, c, 0, u, v);
  };
  const Vertex quad[4] = {make(x0, y0, u0, v0), make(x1, y0, u1, v0), make(x0, y1, u0, v1),
                          make(x1, y1, u1, v1)};
  device.SetVertexShader(kScreen ? kFvfScreenVertex : kFvfSceneVertex);
  device.DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(Vertex));
}

// A 64 x 48 device set up as the saver sets it, on a plain white atlas, cleared to black.
class GlDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetUpDevice(*device_, state_, {0, 0, -10}, {0, 0, 0},
                dir_.Write("white.png", Png(Solid(8, 8, 0xFFFFFFFF))));
    device_->SetTexture(0, state_.glyph_layer1.get());
    device_->Clear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
  }

  // Loads `image` (at its own size, or at the saver's 512 x 512) and binds it to stage 0.
  void Bind(const RgbaImage& image, bool own_size = true) {
    TextureLoadOptions options;
    if (own_size) options.width = options.height = 0;
    texture_ = device_->CreateTextureFromFileEx(dir_.Write("image.png", Png(image)), options);
    device_->SetTexture(0, texture_.get());
  }

  test::TempDir dir_;
  TextureRef texture_;
  std::unique_ptr<GlContext> context_ = CreateHeadlessGlContext(64, 48);
  std::unique_ptr<GlDevice> device_ = std::make_unique<GlDevice>(*context_);
  RenderState state_;
};

TEST_F(GlDeviceTest, TextureAlphaTimesVertexAlphaBlendsOverAnOpaqueBackBuffer) {
  RgbaImage image = Solid(3, 1, 0xFFFFFFFF);  // alpha 255, 128 and 0
  test::Put(image, 1, 0, 0xFF800080);
  test::Put(image, 2, 0, 0x00FF0000);
  Bind(image);
  device_->Clear(D3DCLEAR_TARGET, 0xFF2060A0, 1.0f, 0);
  for (int i = 0; i < 3; ++i) {  // each band samples one texel's centre: no neighbour mixes in
    const float u = (static_cast<float>(i) + 0.5f) / 3, x = i * 20.0f;
    Quad<ScreenVertex>(*device_, {x, 0, x + 20, 48}, 0.5f, 0x80FFFFFF, {u, 0.5f, u, 0.5f});
  }
  const RgbaImage picture = device_->ReadPixels();
  // Over (32, 96, 160) at a = 128/255 and a = 128/255 * 128/255. The back buffer keeps no
  // alpha, so the picture reads opaque.
  for (auto [x, rgba] : {std::pair{10, 0x90B0D0FFu}, {30, 0x586878FFu}, {50, 0x2060A0FFu}})
    for (int shift = 0; shift < 32; shift += 8)
      EXPECT_NEAR(At(picture, x, 24) >> shift & 0xFF, rgba >> shift & 0xFF, x == 50 ? 0 : 1)
          << std::hex << At(picture, x, 24);
}

// Each combination of stage operations, lighting and texture is a program of its own; drawn one
// after another on one device, each must give Direct3D's picture, not the one before's.
TEST_F(GlDeviceTest, StageOperationsLightingAndNoTextureEachGiveDirect3DsColour) {
  Bind(Solid(1, 1, 0xFFFF00FF));  // texture: yellow, opaque
  struct Case {
    const char* name;
    int32_t colour_op, alpha_op;
    bool texture, lighting;
    uint32_t rgba;  // over blue (0, 0, 200), the diffuse magenta at alpha 128
  };
  const Case cases[] = {
      {"modulate, modulate", D3DTOP_MODULATE, D3DTOP_MODULATE, true, false, 0x800064FF},
      {"texture colour", 2, D3DTOP_MODULATE, true, false, 0x808064FF},
      {"disabled: the diffuse as it comes", 1, 2, true, false, 0x8000E4FF},
      {"diffuse colour, texture alpha", 3, 2, true, false, 0xFF00FFFF},
      {"no texture", D3DTOP_MODULATE, D3DTOP_MODULATE, false, false, 0x8000E4FF},
      {"lighting without lights: black", D3DTOP_MODULATE, D3DTOP_MODULATE, true, true, 0x000064FF},
      {"modulate again", D3DTOP_MODULATE, D3DTOP_MODULATE, true, false, 0x800064FF},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    device_->Clear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF0000C8, 1.0f, 0);
    device_->SetTextureStageState(0, D3DTSS_COLOROP, c.colour_op);
    device_->SetTextureStageState(0, D3DTSS_ALPHAOP, c.alpha_op);
    device_->SetRenderState(D3DRS_LIGHTING, c.lighting ? 1 : 0);
    device_->SetTexture(0, c.texture ? texture_.get() : nullptr);
    // Lighting applies to transformed vertices only: a scene quad filling the view.
    Quad<SceneVertex>(*device_, {-50, -50, 50, 50}, 0, 0x80FF00FF);
    const uint32_t got = At(device_->ReadPixels(), 32, 24);
    for (int shift = 8; shift < 32; shift += 8)
      EXPECT_NEAR(got >> shift & 0xFF, c.rgba >> shift & 0xFF, 2) << std::hex << got;
  }
}

TEST_F(GlDeviceTest, LinearMagnificationRampsBetweenTexelCentresAndPointCutsHard) {
  RgbaImage image = Solid(2, 1, 0xFF0000FF);
  test::Put(image, 1, 0, 0x0000FFFF);
  Bind(image);
  for (const bool point : {false, true}) {
    SCOPED_TRACE(point ? "point" : "linear");
    if (point) device_->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_POINT);
    Quad<ScreenVertex>(*device_, {-0.5f, 0, 63.5f, 48}, 0.5f, 0xFFFFFFFF);
    const RgbaImage picture = device_->ReadPixels();
    for (int x = 16; x < 48; ++x) {  // the texel centres are at x 15.5 and 47.5
      const double blue = point ? 255.0 * (x >= 32) : (x - 15.5) / 32 * 255;
      EXPECT_NEAR(At(picture, x, 24) >> 24, 255 - blue, 2) << x;
      EXPECT_NEAR(At(picture, x, 24) >> 8 & 0xFF, blue, 2) << x;
    }
  }
}

TEST_F(GlDeviceTest, GlyphSeenFromMinusZIsMirroredAndFromPlusZReadsLeftToRight) {
  // Cell 12 of a green atlas, the top-left quarter of the cell red.
  RgbaImage atlas = Solid(512, 512, 0x00FF00FF);
  const CellOrigin cell = GlyphCellOrigin(12);
  for (int y = 0; y < 29; ++y)
    for (int x = 0; x < 25; ++x)
      test::Put(atlas, static_cast<int>(cell.u * 512) + x, static_cast<int>(cell.v * 512) + y,
                0xFF0000FF);
  Bind(atlas, false);
  // Looking at the origin with up = -Y, the view's y axis is -Y from either side, so the cell's
  // top (world y -5) is on top. From z = -10 the view's x axis is -X: world x -5, the cell's
  // left, lands on the right. From z = +10 it is +X: the left stays left.
  for (const auto& [eye_z, corner] : {std::pair{-10.0f, "top right"}, {10.0f, "top left"}}) {
    BuildViewMatrix(state_.view, {0, 0, eye_z}, {0, 0, 0});
    device_->SetTransform(D3DTS_VIEW, state_.view);
    device_->Clear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    Quad<SceneVertex>(*device_, {-5, -5, 5, 5}, 0, 0xFFFFFFFF,
                      {cell.u, cell.v, cell.u + kCellDu, cell.v + kCellDv});
    const RgbaImage picture = device_->ReadPixels();
    std::string marked;  // the glyph spans x 16..48 and y 12..36
    for (int y : {18, 30})
      for (int x : {24, 40})
        if (At(picture, x, y) == 0xFF0000FFu)
          marked += std::string(y < 24 ? "top " : "bottom ") + (x < 32 ? "left" : "right");
    EXPECT_EQ(marked, corner) << eye_z;
  }
}

TEST_F(GlDeviceTest, ResizeFollowsAHostWindowAndPixelCentresStayOnIntegers) {
  device_->Resize(100, 30);
  EXPECT_EQ(std::pair(device_->GetViewport().Width, device_->GetViewport().Height),
            std::pair(100u, 30u));
  Quad<ScreenVertex>(*device_, {80.5f, 5.5f, 90.5f, 25.5f}, 0.5f, 0xFFFFFFFF);  // past old width
  const RgbaImage image = device_->ReadPixels();
  ASSERT_EQ(std::pair(image.width, image.height), std::pair(100, 30));
  for (int x = 0; x < 100; ++x)
    EXPECT_EQ(At(image, x, 10) >> 24, x >= 81 && x <= 90 ? 255u : 0) << x;
  for (int y = 0; y < 30; ++y) EXPECT_EQ(At(image, 85, y) >> 24, y >= 6 && y <= 25 ? 255u : 0) << y;
}

TEST_F(GlDeviceTest, DepthTestLetsEqualDepthThroughAndRejectsFarther) {
  Quad<ScreenVertex>(*device_, {0, 0, 32, 48}, 0.5f, 0xFFFFFFFF);
  device_->SetTexture(0, nullptr);                                 // the diffuse colour alone
  Quad<ScreenVertex>(*device_, {0, 0, 64, 48}, 0.5f, 0xFF00FF00);  // equal depth: passes
  Quad<ScreenVertex>(*device_, {0, 0, 64, 48}, 0.6f, 0xFFFF0000);  // farther: rejected
  const RgbaImage image = device_->ReadPixels();
  EXPECT_EQ(At(image, 10, 10), 0x00FF00FFu);
  EXPECT_EQ(At(image, 50, 10), 0x00FF00FFu);
}

TEST_F(GlDeviceTest, SceneQuadsLandWhereTheCameraLooks) {
  // Seen from 10 units at 90 degrees, a unit is 3.2 pixels across and 2.4 down; the camera's up
  // is -Y, so (2..3, 2..3) spans x 22.4..25.6 and y 28.8..31.2, mirrored left of the centre.
  Quad<SceneVertex>(*device_, {2, 2, 3, 3}, 0, 0xFFFFFFFF);
  const RgbaImage image = device_->ReadPixels();
  for (int x = 0; x < 64; ++x)
    EXPECT_EQ(At(image, x, 30) >> 24, x >= 23 && x <= 25 ? 255u : 0) << x;
  for (int y = 0; y < 48; ++y)
    EXPECT_EQ(At(image, 24, y) >> 24, y >= 29 && y <= 31 ? 255u : 0) << y;
}

TEST_F(GlDeviceTest, WrapAddressingSamplesTheRightEdgeLeftOfTheTexture) {
  // Green with a red band in the rightmost 50 columns, as the atlas's cell "-1" would see.
  RgbaImage atlas = Solid(512, 512, 0x00FF00FF);
  for (int y = 0; y < 512; ++y)
    for (int x = 462; x < 512; ++x) test::Put(atlas, x, y, 0xFF0000FF);
  Bind(atlas, false);
  Quad<ScreenVertex>(*device_, {0, 0, 50, 40}, 0.5f, 0xFFFFFFFF, {-50.0f / 512, 0, 0, 0.1f});
  const RgbaImage image = device_->ReadPixels();
  for (int x = 2; x < 48; x += 5) EXPECT_EQ(At(image, x, 20), 0xFF0000FFu) << x;
}

TEST_F(GlDeviceTest, UnsupportedDrawsAndMissingFilesThrowInsteadOfReadingWrongMemory) {
  EXPECT_THROW(device_->CreateTextureFromFileEx(dir_.File("missing.png"), {}), DeviceError);
  const ScreenVertex v[4]{};
  device_->SetVertexShader(kFvfScreenVertex);
  EXPECT_THROW(device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, v, 28), DeviceError);
  EXPECT_THROW(device_->DrawPrimitiveUP(1, 2, v, 32), DeviceError);  // point list
  EXPECT_THROW(device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, nullptr, 32), DeviceError);
  EXPECT_THROW(device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 0x80000000u, v, 32), DeviceError);
  device_->SetVertexShader(0x102);
  EXPECT_THROW(device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, v, 32), DeviceError);
}

// Many overlapping, half-transparent quads of both kinds, switching between two slots that
// hold the same image and now and then to a different texture. Returns the number of runs of
// one vertex format and one image.
uint32_t DrawBusyFrame(GlDevice& device, const test::TempDir& dir) {
  RgbaImage checker = Solid(8, 8, 0xFFFFFFFF);
  for (int i = 0; i < 64; i += 3) test::Put(checker, i % 8, i / 8, 0xFFFFFF3C);
  RenderState state;
  SetUpDevice(device, state, {0, 0, -10}, {0, 0, 0}, dir.Write("checker.png", Png(checker)));
  const TextureRef second =
      device.CreateTextureFromFileEx(dir.Write("other.png", Png(Solid(4, 4, 0xFF8000C0))), {});
  Texture* const images[] = {state.glyph_layer2.get(), state.glyph_layer1.get(), second.get()};
  std::mt19937 random(7);
  std::uniform_real_distribution<float> pos(-10, 70), op(0, 255);
  device.Clear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
  uint32_t runs = 0;
  for (int i = 0, last_key = -1; i < 300; ++i) {
    const bool scene = i % 3 == 0, odd_texture = i % 50 == 49;
    const int key = scene * 2 + odd_texture;  // the vertex format and the image
    runs += key != std::exchange(last_key, key);
    device.SetTexture(0, images[odd_texture ? 2 : i % 2]);
    const float x = pos(random), y = pos(random);
    const uint32_t c = static_cast<uint32_t>(op(random)) << 24 | 0xFFFFFF;
    if (scene)
      Quad<SceneVertex>(device, {x / 10 - 3, y / 10 - 3, x / 10 - 1, y / 10 - 1}, i % 7, c);
    else
      Quad<ScreenVertex>(device, {x, y, x + 15, y + 12}, 0, c);
  }
  device.Present();
  return runs;
}

TEST(GlDeviceBatching, GivesThePictureOfOneByOneDrawingWithADrawCallPerRun) {
  test::TempDir dir;
  RgbaImage pictures[2];
  for (bool batching : {false, true}) {
    auto context = CreateHeadlessGlContext(64, 48);
    GlDevice device(*context, GlDeviceOptions{batching});
    const uint32_t runs = DrawBusyFrame(device, dir);
    pictures[batching] = device.ReadPixels();
    EXPECT_EQ(device.Stats().primitives_last_frame, 300u);
    EXPECT_EQ(device.Stats().draw_calls_last_frame, batching ? runs : 300u);
  }
  EXPECT_EQ(pictures[0].pixels, pictures[1].pixels);
}

// Drawing straight into a window's back buffer turns rows and winding the other way round; the
// picture must not turn with them, and the presented frame must survive its swap.
TEST(GlDeviceWindow, DrawingIntoTheWindowGivesTheOwnFramebuffersPicture) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X server";
  test::TempDir dir;
  RgbaImage expected;
  {
    auto headless = CreateHeadlessGlContext(64, 48);
    GlDevice reference(*headless);
    DrawBusyFrame(reference, dir);
    expected = reference.ReadPixels();
  }

  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
  SDL_Window* window =
      SDL_CreateWindow("gl_device_test", 0, 0, 64, 48, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  ASSERT_NE(window, nullptr) << SDL_GetError();
  {
    auto context = CreateSdlGlContext(window, /*vsync=*/false);
    GlDeviceOptions options;
    options.draw_into_window = options.keep_last_frame = true;
    GlDevice device(*context, options);
    DrawBusyFrame(device, dir);
    EXPECT_EQ(device.ReadPixels().pixels, expected.pixels);
    // The flipped rows turn the winding too: Direct3D's counter-clockwise culling (3) keeps
    // this clockwise quad, its clockwise culling (2) removes it.
    device.SetTexture(0, nullptr);
    for (const uint32_t cull : {3u, 2u}) {
      device.SetRenderState(D3DRS_CULLMODE, cull);
      device.Clear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
      Quad<ScreenVertex>(device, {10, 10, 30, 30}, 0.5f, 0xFF00FF00);
      device.Present();
      EXPECT_EQ(At(device.ReadPixels(), 20, 15), cull == 3 ? 0x00FF00FFu : 0x000000FFu) << cull;
    }
  }
  SDL_DestroyWindow(window);
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

}  // namespace
}  // namespace vx
