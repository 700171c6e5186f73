// The OpenGL device drawn headless and read back: what Direct3D would have lit, blended and
// sampled with the states the saver sets.
#include "platform/linux/gl_device.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <stb_image_write.h>

#include <random>

#include "core/d3dx_math.h"
#include "fakes/temp_dir.h"
#include "render/device_setup.h"
#include "render/vertices.h"

namespace vx {
namespace {

std::string WritePng(const test::TempDir& dir, const std::string& name, const RgbaImage& image) {
  const std::string file = dir.File(name);
  stbi_write_png(file.c_str(), image.width, image.height, 4, image.pixels.data(), image.width * 4);
  return file;
}

RgbaImage Solid(int w, int h, uint32_t rgba) {
  RgbaImage image{w, h, {}};
  for (int i = 0; i < w * h; ++i)
    for (int c = 0; c < 4; ++c) image.pixels.push_back(static_cast<uint8_t>(rgba >> (24 - 8 * c)));
  return image;
}

struct Rgba {
  int r, g, b, a;
};
Rgba At(const RgbaImage& image, int x, int y) {
  const uint8_t* p = &image.pixels[(static_cast<size_t>(y) * image.width + x) * 4];
  return {p[0], p[1], p[2], p[3]};
}

// Four screen vertices from (x0, y0) to (x1, y1), as the title quads build them.
void DrawScreenQuad(Device& device, float x0, float y0, float x1, float y1, float z,
                    int32_t opacity, float u0 = 0, float v0 = 0, float u1 = 1, float v1 = 1) {
  const int32_t colour = PackColour(opacity, 0xFFFFFF);
  const ScreenVertex quad[4] = {MakeScreenVertex(x0, y0, z, 1, colour, 0, u0, v0),
                                MakeScreenVertex(x1, y0, z, 1, colour, 0, u1, v0),
                                MakeScreenVertex(x0, y1, z, 1, colour, 0, u0, v1),
                                MakeScreenVertex(x1, y1, z, 1, colour, 0, u1, v1)};
  device.SetVertexShader(kFvfScreenVertex);
  device.DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(ScreenVertex));
}

class GlDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    context_ = CreateHeadlessGlContext(64, 48);
    device_ = std::make_unique<GlDevice>(*context_);
    white_ = WritePng(dir_, "white.png", Solid(8, 8, 0xFFFFFFFF));
    SetUpDevice(*device_, state_, {0, 0, -10}, {0, 0, 0}, white_);
    device_->SetTexture(0, state_.glyph_layer1.get());
    device_->Clear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    device_->BeginScene();
  }

  // The columns (or rows) of one line that are lit.
  static std::vector<int> LitColumns(const RgbaImage& image, int y) {
    std::vector<int> lit;
    for (int x = 0; x < image.width; ++x)
      if (At(image, x, y).r > 0) lit.push_back(x);
    return lit;
  }
  static std::vector<int> LitRows(const RgbaImage& image, int x) {
    std::vector<int> lit;
    for (int y = 0; y < image.height; ++y)
      if (At(image, x, y).r > 0) lit.push_back(y);
    return lit;
  }
  static std::vector<int> Range(int from, int to) {
    std::vector<int> v;
    for (int i = from; i <= to; ++i) v.push_back(i);
    return v;
  }

  test::TempDir dir_;
  std::unique_ptr<GlContext> context_;
  std::unique_ptr<GlDevice> device_;
  RenderState state_;
  std::string white_;
};

TEST_F(GlDeviceTest, WhiteTexelAtVertexAlpha128OverBlackGivesHalfGrey) {
  DrawScreenQuad(*device_, 0, 0, 64, 48, 0.5f, 128);
  device_->EndScene();
  const RgbaImage image = device_->ReadPixels();
  for (auto [x, y] : {std::pair{0, 0}, {31, 20}, {63, 47}}) {
    const Rgba p = At(image, x, y);
    EXPECT_EQ(p.r, 128);
    EXPECT_EQ(p.g, 128);
    EXPECT_EQ(p.b, 128);
    EXPECT_EQ(p.a, 255);  // the back buffer has no alpha: the picture reads opaque
  }
  EXPECT_EQ(device_->DepthBits(), 16);
}

TEST_F(GlDeviceTest, PretransformedQuadsLightPixelsWithCentresOnIntegers) {
  DrawScreenQuad(*device_, 10, 10, 20, 20, 0.5f, 255);
  DrawScreenQuad(*device_, 30.5f, 20.5f, 40.5f, 30.5f, 0.5f, 255);
  device_->EndScene();
  const RgbaImage image = device_->ReadPixels();
  EXPECT_EQ(LitColumns(image, 15), Range(10, 19));
  EXPECT_EQ(LitRows(image, 15), Range(10, 19));
  EXPECT_EQ(LitColumns(image, 25), Range(31, 40));
  EXPECT_EQ(LitRows(image, 35), Range(21, 30));
}

TEST_F(GlDeviceTest, ResizeFollowsAHostWindowAndKeepsPixelCentres) {
  device_->EndScene();
  device_->Resize(100, 30);
  const D3DViewport vp = device_->GetViewport();
  EXPECT_EQ(vp.Width, 100u);
  EXPECT_EQ(vp.Height, 30u);
  device_->BeginScene();
  DrawScreenQuad(*device_, 80, 5, 90, 25, 0.5f, 255);  // beyond the old width
  device_->EndScene();
  const RgbaImage image = device_->ReadPixels();
  ASSERT_EQ(image.width, 100);
  ASSERT_EQ(image.height, 30);
  EXPECT_EQ(LitColumns(image, 10), Range(80, 89));
  EXPECT_EQ(LitRows(image, 85), Range(5, 24));
}

TEST_F(GlDeviceTest, DepthTestLetsEqualDepthThroughAndRejectsFarther) {
  DrawScreenQuad(*device_, 0, 0, 32, 48, 0.5f, 255);  // white, depth 0.5 written
  device_->SetTexture(0, nullptr);                    // from here the diffuse colour alone
  const auto quad = [&](float z, int32_t colour) {
    const ScreenVertex v[4] = {MakeScreenVertex(0, 0, z, 1, colour, 0, 0, 0),
                               MakeScreenVertex(64, 0, z, 1, colour, 0, 0, 0),
                               MakeScreenVertex(0, 48, z, 1, colour, 0, 0, 0),
                               MakeScreenVertex(64, 48, z, 1, colour, 0, 0, 0)};
    device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, v, sizeof(ScreenVertex));
  };
  quad(0.5f, static_cast<int32_t>(0xFF00FF00));  // equal depth: passes where white was
  quad(0.6f, static_cast<int32_t>(0xFFFF0000));  // farther: rejected everywhere now
  device_->EndScene();
  const RgbaImage image = device_->ReadPixels();
  for (int x : {10, 50}) {
    const Rgba p = At(image, x, 10);
    EXPECT_EQ(p.r, 0) << x;
    EXPECT_EQ(p.g, 255) << x;
  }
}

TEST_F(GlDeviceTest, SceneQuadsLandWhereThePointProjectionSays) {
  // A small quad off the target in world units; the camera's up is -Y, so where it lands on
  // screen is decided by the matrices, which Vec3Project also uses.
  const int32_t white = -1;
  const SceneVertex quad[4] = {
      MakeSceneVertex(2, 2, 0, white, 0, 0, 0), MakeSceneVertex(3, 2, 0, white, 0, 1, 0),
      MakeSceneVertex(2, 3, 0, white, 0, 0, 1), MakeSceneVertex(3, 3, 0, white, 0, 1, 1)};
  device_->SetVertexShader(kFvfSceneVertex);
  device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(SceneVertex));
  device_->EndScene();
  const RgbaImage image = device_->ReadPixels();

  D3DVector a, b;
  const D3DViewport vp = device_->GetViewport();
  D3DXVec3Project(a, {2, 2, 0}, vp, state_.projection, state_.view, state_.world);
  D3DXVec3Project(b, {3, 3, 0}, vp, state_.projection, state_.view, state_.world);
  const int cx = static_cast<int>((a.x + b.x) / 2), cy = static_cast<int>((a.y + b.y) / 2);
  EXPECT_EQ(At(image, cx, cy).r, 255) << cx << "," << cy;
  EXPECT_EQ(At(image, 63 - cx, cy).r, 0);  // not mirrored left-right
  EXPECT_EQ(At(image, cx, 47 - cy).r, 0);  // nor upside down
  // Pixels whose centres lie inside the projected corners are lit, and no others.
  const float x0 = std::min(a.x, b.x), x1 = std::max(a.x, b.x);
  const float y0 = std::min(a.y, b.y), y1 = std::max(a.y, b.y);
  std::vector<int> columns, rows;
  for (int x = 0; x < 64; ++x)
    if (x >= x0 && x < x1) columns.push_back(x);
  for (int y = 0; y < 48; ++y)
    if (y >= y0 && y < y1) rows.push_back(y);
  EXPECT_EQ(LitColumns(image, cy), columns);
  EXPECT_EQ(LitRows(image, cx), rows);
}

TEST_F(GlDeviceTest, WrapAddressingSamplesTheRightEdgeLeftOfTheTexture) {
  // Green with a red band in the rightmost 50 columns, as the atlas's cell "-1" would see.
  RgbaImage atlas = Solid(512, 512, 0x00FF00FF);
  for (int y = 0; y < 512; ++y)
    for (int x = 462; x < 512; ++x) {
      uint8_t* p = &atlas.pixels[(static_cast<size_t>(y) * 512 + x) * 4];
      p[0] = 255;
      p[1] = 0;
    }
  const TextureRef texture =
      device_->CreateTextureFromFileEx(WritePng(dir_, "band.png", atlas), {});
  device_->SetTexture(0, texture.get());
  DrawScreenQuad(*device_, 0, 0, 50, 40, 0.5f, 255, -50.0f / 512, 0, 0, 0.1f);
  device_->EndScene();
  const RgbaImage image = device_->ReadPixels();
  for (int x = 2; x < 48; x += 5) {
    EXPECT_EQ(At(image, x, 20).r, 255) << x;
    EXPECT_EQ(At(image, x, 20).g, 0) << x;
  }
}

TEST_F(GlDeviceTest, TexturesComeOut512SquareByNearestScalingWithAPointChain) {
  RgbaImage source = Solid(3, 2, 0);
  const uint32_t colours[6] = {0xFF0000FF, 0x00FF00FF, 0x0000FFFF,
                               0xFFFF00FF, 0x00FFFFFF, 0xFFFFFFFF};
  for (int i = 0; i < 6; ++i)
    for (int c = 0; c < 4; ++c)
      source.pixels[i * 4 + c] = static_cast<uint8_t>(colours[i] >> (24 - 8 * c));
  const TextureRef ref = device_->CreateTextureFromFileEx(WritePng(dir_, "3x2.png", source), {});
  const auto* texture = dynamic_cast<GlTexture*>(ref.get());
  ASSERT_NE(texture, nullptr);
  EXPECT_EQ(texture->Width(), 512);
  EXPECT_EQ(texture->Height(), 512);
  EXPECT_EQ(texture->Levels(), 10);  // 512 down to 1
  const RgbaImage level0 = texture->ReadLevel(0);
  // Column x takes source column floor((x + 0.5) * 3 / 512): 0..170, 171..341, 342..511.
  EXPECT_EQ(At(level0, 170, 0).r, 255);
  EXPECT_EQ(At(level0, 171, 0).g, 255);
  EXPECT_EQ(At(level0, 171, 0).r, 0);
  EXPECT_EQ(At(level0, 342, 255).b, 255);
  EXPECT_EQ(At(level0, 0, 256).g, 255);  // second source row: yellow
  EXPECT_EQ(At(level0, 0, 256).r, 255);
  // Point-filtered levels pick texels, never average them: each level takes the texel
  // right-below the centre of each 2 x 2 block above it.
  const RgbaImage level8 = texture->ReadLevel(8);
  ASSERT_EQ(level8.width, 2);
  EXPECT_EQ(At(level8, 0, 0).r, 0);  // green: source (1, 0)
  EXPECT_EQ(At(level8, 0, 0).g, 255);
  EXPECT_EQ(At(level8, 0, 0).b, 0);
  EXPECT_EQ(At(level8, 1, 1).r, 255);  // white: source (2, 1)
  EXPECT_EQ(At(level8, 1, 1).b, 255);
}

TEST_F(GlDeviceTest, SameBytesShareOneTextureAndBadFilesThrow) {
  const auto name = [](const TextureRef& t) { return dynamic_cast<GlTexture*>(t.get())->Name(); };
  EXPECT_EQ(name(state_.glyph_layer1), name(state_.title_real_glyph));
  const std::string copy = WritePng(dir_, "copy.png", Solid(8, 8, 0xFFFFFFFF));
  EXPECT_EQ(name(device_->CreateTextureFromFileEx(copy, {})), name(state_.glyph_layer1));
  const std::string red = WritePng(dir_, "red.png", Solid(8, 8, 0xFF0000FF));
  EXPECT_NE(name(device_->CreateTextureFromFileEx(red, {})), name(state_.glyph_layer1));

  EXPECT_THROW(device_->CreateTextureFromFileEx(dir_.File("missing.png"), {}), DeviceError);
  EXPECT_THROW(device_->CreateTextureFromFileEx(dir_.Write("bad.png", "not a picture"), {}),
               DeviceError);
  EXPECT_THROW(device_->CreateTextureFromFileEx(dir_.Write("empty.png", ""), {}), DeviceError);
}

TEST_F(GlDeviceTest, UnsupportedDrawsThrowInsteadOfReadingWrongMemory) {
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
// hold the same image and now and then to a different texture.
void DrawBusyFrame(GlDevice& device, const RenderState& state, Texture* other) {
  std::mt19937 random(7);
  std::uniform_real_distribution<float> pos(-10, 70), op(0, 255);
  device.Clear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
  device.BeginScene();
  for (int i = 0; i < 300; ++i) {
    device.SetTexture(0, i % 50 == 49 ? other
                         : i % 2      ? state.glyph_layer1.get()
                                      : state.glyph_layer2.get());
    const float x = pos(random), y = pos(random);
    if (i % 3 == 0) {
      const int32_t c = PackColour(static_cast<int32_t>(op(random)), 0xFFFFFF);
      const float z = static_cast<float>(i % 7);
      const SceneVertex q[4] = {MakeSceneVertex(x / 10 - 3, y / 10 - 3, z, c, 0, 0, 0),
                                MakeSceneVertex(x / 10 - 1, y / 10 - 3, z, c, 0, 1, 0),
                                MakeSceneVertex(x / 10 - 3, y / 10 - 1, z, c, 0, 0, 1),
                                MakeSceneVertex(x / 10 - 1, y / 10 - 1, z, c, 0, 1, 1)};
      device.SetVertexShader(kFvfSceneVertex);
      device.DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, q, sizeof(SceneVertex));
    } else {
      DrawScreenQuad(device, x, y, x + 15, y + 12, 0.0f, static_cast<int32_t>(op(random)));
    }
  }
  device.EndScene();
  device.Present();
}

TEST(GlDeviceBatching, GivesThePictureOfOneByOneDrawingWithFewerDrawCalls) {
  test::TempDir dir;
  RgbaImage checker = Solid(8, 8, 0xFFFFFFFF);
  for (int i = 0; i < 64; i += 3) checker.pixels[i * 4 + 3] = 60;
  const std::string atlas = WritePng(dir, "checker.png", checker);
  const std::string other = WritePng(dir, "other.png", Solid(4, 4, 0xFF8000C0));

  RgbaImage pictures[2];
  uint32_t draw_calls[2] = {};
  for (int batching = 0; batching < 2; ++batching) {
    auto context = CreateHeadlessGlContext(64, 48);
    GlDevice device(*context, GlDeviceOptions{batching == 1});
    RenderState state;
    SetUpDevice(device, state, {0, 0, -10}, {0, 0, 0}, atlas);
    const TextureRef second = device.CreateTextureFromFileEx(other, {});
    DrawBusyFrame(device, state, second.get());
    pictures[batching] = device.ReadPixels();
    draw_calls[batching] = device.Stats().draw_calls_last_frame;
    EXPECT_EQ(device.Stats().primitives_last_frame, 300u);
  }
  EXPECT_EQ(pictures[0].pixels, pictures[1].pixels);
  EXPECT_EQ(draw_calls[0], 300u);
  // Breaks only at a change of vertex format or of the underlying texture.
  EXPECT_LT(draw_calls[1], 230u);
  EXPECT_GT(draw_calls[1], 12u);
}

TEST(GlDeviceBatching, OneFormatOneImageIsOneDrawCall) {
  test::TempDir dir;
  const std::string atlas = WritePng(dir, "a.png", Solid(8, 8, 0xFFFFFFFF));
  auto context = CreateHeadlessGlContext(32, 32);
  GlDevice device(*context);
  RenderState state;
  SetUpDevice(device, state, {0, 0, -10}, {0, 0, 0}, atlas);
  device.BeginScene();
  for (int i = 0; i < 1000; ++i) {
    device.SetTexture(0, i % 2 ? state.glyph_layer1.get() : state.glyph_layer2.get());
    DrawScreenQuad(device, 1, 1, 5, 5, 0.5f, 10);
  }
  device.EndScene();
  device.Present();
  EXPECT_EQ(device.Stats().draw_calls_last_frame, 1u);
}

TEST(GlContexts, ASdlWindowContextDrawsAndPresentsThroughTheSameDevice) {
  SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
  SDL_Window* window = SDL_CreateWindow("render test", 0, 0, 40, 30, SDL_WINDOW_OPENGL);
  ASSERT_NE(window, nullptr) << SDL_GetError();
  {
    auto context = CreateSdlGlContext(window, false);
    EXPECT_TRUE(context->HasWindow());
    GlDevice device(*context);
    EXPECT_EQ(device.GetViewport().Width, 40u);
    EXPECT_EQ(device.GetViewport().Height, 30u);
    device.Clear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF0000FF, 1.0f, 0);
    device.SetTexture(0, nullptr);
    device.SetRenderState(D3DRS_ZENABLE, 0);
    DrawScreenQuad(device, 0, 0, 20, 30, 0.0f, 255);
    device.Present();
    const RgbaImage image = device.ReadPixels();
    EXPECT_EQ(At(image, 5, 5).r, 255);  // the quad
    EXPECT_EQ(At(image, 30, 5).r, 0);   // the clear colour
    EXPECT_EQ(At(image, 30, 5).b, 255);
    EXPECT_EQ(device.Stats().frames, 1u);
  }
  SDL_DestroyWindow(window);
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

}  // namespace
}  // namespace vx
