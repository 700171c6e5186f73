// The OpenGL device drawn headless and read back: what Direct3D would have lit, blended and
// sampled with the states the saver sets.
#include "platform/linux/gl_device.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
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

// A screen-space quad in one colour, as the title quads build them.
void Quad(Device& device, std::array<float, 4> xyxy, float z, uint32_t argb,
          std::array<float, 4> uvuv = {0, 0, 1, 1}) {
  const auto [x0, y0, x1, y1] = xyxy;
  const auto [u0, v0, u1, v1] = uvuv;
  const auto c = static_cast<int32_t>(argb);
  const ScreenVertex quad[4] = {
      MakeScreenVertex(x0, y0, z, 1, c, 0, u0, v0), MakeScreenVertex(x1, y0, z, 1, c, 0, u1, v0),
      MakeScreenVertex(x0, y1, z, 1, c, 0, u0, v1), MakeScreenVertex(x1, y1, z, 1, c, 0, u1, v1)};
  device.SetVertexShader(kFvfScreenVertex);
  device.DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(ScreenVertex));
}

// A square of the scene from (l, t), `size` units wide, at depth z, with its corners laid out
// as a glyph's quad lays them.
void SceneQuad(Device& device, float l, float t, float size, float z, uint32_t argb,
               std::array<float, 4> uvuv = {0, 0, 1, 1}) {
  const float r = l + size, b = t + size;
  const auto [u0, v0, u1, v1] = uvuv;
  const auto c = static_cast<int32_t>(argb);
  const SceneVertex quad[4] = {
      MakeSceneVertex(l, t, z, c, 0, u0, v0), MakeSceneVertex(r, t, z, c, 0, u1, v0),
      MakeSceneVertex(l, b, z, c, 0, u0, v1), MakeSceneVertex(r, b, z, c, 0, u1, v1)};
  device.SetVertexShader(kFvfSceneVertex);
  device.DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(SceneVertex));
}

// The lit pixels along row `line` (or column, when `column`) as "first-last", or "broken"
// when they are not one run.
std::string LitRun(const RgbaImage& image, int line, bool column = false) {
  int first = -1, last = -1, count = 0;
  for (int i = 0; i < (column ? image.height : image.width); ++i) {
    if ((At(image, column ? line : i, column ? i : line) >> 24) == 0) continue;
    if (first < 0) first = i;
    last = i;
    ++count;
  }
  if (count == 0) return "";
  return count == last - first + 1 ? std::to_string(first) + "-" + std::to_string(last) : "broken";
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
    if (own_size) options.Width = options.Height = 0;
    texture_ = device_->CreateTextureFromFileEx(dir_.Write("image.png", Png(image)), options);
    device_->SetTexture(0, texture_.get());
  }

  test::TempDir dir_;
  TextureRef texture_;
  std::unique_ptr<GlContext> context_ = CreateHeadlessGlContext(64, 48);
  std::unique_ptr<GlDevice> device_ = std::make_unique<GlDevice>(*context_);
  RenderState state_;
};

TEST_F(GlDeviceTest, WhiteTexelAtVertexAlpha128OverBlackGivesOpaqueHalfGrey) {
  Quad(*device_, {0, 0, 64, 48}, 0.5f, 0x80FFFFFF);
  const RgbaImage image = device_->ReadPixels();
  // The back buffer has no alpha: the picture reads opaque.
  for (auto [x, y] : {std::pair{0, 0}, {31, 20}, {63, 47}}) EXPECT_EQ(At(image, x, y), 0x808080FFu);
}

TEST_F(GlDeviceTest, TextureAlphaTimesVertexAlphaBlendsOverTheBackground) {
  RgbaImage image = Solid(3, 1, 0xFFFFFFFF);  // alpha 255, 128 and 0
  test::Put(image, 1, 0, 0xFF800080);
  test::Put(image, 2, 0, 0x00FF0000);
  Bind(image);
  device_->Clear(D3DCLEAR_TARGET, 0xFF2060A0, 1.0f, 0);
  for (int i = 0; i < 3; ++i) {  // each band samples one texel's centre: no neighbour mixes in
    const float u = (static_cast<float>(i) + 0.5f) / 3;
    Quad(*device_, {i * 20.0f, 0, i * 20.0f + 20, 48}, 0.5f, 0x80FFFFFF, {u, 0.5f, u, 0.5f});
  }
  const RgbaImage picture = device_->ReadPixels();
  // Over (32, 96, 160) at a = 128/255 and a = 128/255 * 128/255.
  EXPECT_LE(test::ChannelDistance(At(picture, 10, 24), 0x90B0D0FF), 1)
      << std::hex << At(picture, 10, 24);
  EXPECT_LE(test::ChannelDistance(At(picture, 30, 24), 0x586878FF), 1)
      << std::hex << At(picture, 30, 24);
  EXPECT_EQ(At(picture, 50, 24), 0x2060A0FFu);
}

TEST_F(GlDeviceTest, LinearMagnificationRampsBetweenTexelCentresAndPointCutsHard) {
  RgbaImage image = Solid(2, 1, 0xFF0000FF);
  test::Put(image, 1, 0, 0x0000FFFF);
  Bind(image);
  Quad(*device_, {-0.5f, 0, 63.5f, 48}, 0.5f, 0xFFFFFFFF);  // texel centres at x 15.5 and 47.5
  RgbaImage picture = device_->ReadPixels();
  for (int x = 16; x < 48; ++x) {
    const double blue = (x - 15.5) / 32 * 255;
    EXPECT_NEAR(At(picture, x, 24) >> 24, 255 - blue, 2) << x;
    EXPECT_NEAR(At(picture, x, 24) >> 8 & 0xFF, blue, 2) << x;
  }
  device_->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_POINT);
  Quad(*device_, {-0.5f, 0, 63.5f, 48}, 0.5f, 0xFFFFFFFF);
  picture = device_->ReadPixels();
  EXPECT_EQ(At(picture, 31, 24), 0xFF0000FFu);
  EXPECT_EQ(At(picture, 32, 24), 0x0000FFFFu);
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
  const auto marked_quarter = [](const RgbaImage& picture) {
    std::string found;  // the glyph spans x 16..48 and y 12..36
    for (int y : {18, 30})
      for (int x : {24, 40})
        if (At(picture, x, y) == 0xFF0000FFu)
          found += std::string(y < 24 ? "top " : "bottom ") + (x < 32 ? "left" : "right");
    return found;
  };
  // Looking at the origin with up = -Y, the view's y axis is -Y from either side, so the cell's
  // top (world y -5) is on top. From z = -10 the view's x axis is -X: world x -5, the cell's
  // left, lands on the right. From z = +10 it is +X: the left stays left.
  for (const auto& [eye_z, corner] : {std::pair{-10.0f, "top right"}, {10.0f, "top left"}}) {
    BuildViewMatrix(state_.view, {0, 0, eye_z}, {0, 0, 0});
    device_->SetTransform(D3DTS_VIEW, state_.view);
    device_->Clear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    SceneQuad(*device_, -5, -5, 10, 0, static_cast<uint32_t>(PackColour(255, 0xFFFFFF)),
              {cell.u, cell.v, cell.u + kCellDu, cell.v + kCellDv});
    EXPECT_EQ(marked_quarter(device_->ReadPixels()), corner) << eye_z;
  }
}

TEST_F(GlDeviceTest, ResizeFollowsAHostWindowAndPixelCentresStayOnIntegers) {
  device_->Resize(100, 30);
  EXPECT_EQ(device_->GetViewport().Width, 100u);
  EXPECT_EQ(device_->GetViewport().Height, 30u);
  Quad(*device_, {80.5f, 5.5f, 90.5f, 25.5f}, 0.5f, 0xFFFFFFFF);  // beyond the old width
  const RgbaImage image = device_->ReadPixels();
  ASSERT_EQ(std::pair(image.width, image.height), std::pair(100, 30));
  EXPECT_EQ(LitRun(image, 10), "81-90");
  EXPECT_EQ(LitRun(image, 85, true), "6-25");
}

TEST_F(GlDeviceTest, DepthTestLetsEqualDepthThroughAndRejectsFarther) {
  Quad(*device_, {0, 0, 32, 48}, 0.5f, 0xFFFFFFFF);
  device_->SetTexture(0, nullptr);                   // the diffuse colour alone
  Quad(*device_, {0, 0, 64, 48}, 0.5f, 0xFF00FF00);  // equal depth: passes where white was
  Quad(*device_, {0, 0, 64, 48}, 0.6f, 0xFFFF0000);  // farther: rejected everywhere now
  const RgbaImage image = device_->ReadPixels();
  EXPECT_EQ(At(image, 10, 10), 0x00FF00FFu);
  EXPECT_EQ(At(image, 50, 10), 0x00FF00FFu);
}

TEST_F(GlDeviceTest, SceneQuadsLandWhereTheCameraLooks) {
  // Seen from 10 units at 90 degrees, a unit is 3.2 pixels across and 2.4 down; the camera's up
  // is -Y, so (2..3, 2..3) spans x 22.4..25.6 and y 28.8..31.2, mirrored left of the centre.
  SceneQuad(*device_, 2, 2, 1, 0, 0xFFFFFFFF);
  const RgbaImage image = device_->ReadPixels();
  EXPECT_EQ(LitRun(image, 30), "23-25");
  EXPECT_EQ(LitRun(image, 24, true), "29-31");
}

TEST_F(GlDeviceTest, WrapAddressingSamplesTheRightEdgeLeftOfTheTexture) {
  // Green with a red band in the rightmost 50 columns, as the atlas's cell "-1" would see.
  RgbaImage atlas = Solid(512, 512, 0x00FF00FF);
  for (int y = 0; y < 512; ++y)
    for (int x = 462; x < 512; ++x) test::Put(atlas, x, y, 0xFF0000FF);
  const TextureRef texture =
      device_->CreateTextureFromFileEx(dir_.Write("band.png", Png(atlas)), {});
  device_->SetTexture(0, texture.get());
  Quad(*device_, {0, 0, 50, 40}, 0.5f, 0xFFFFFFFF, {-50.0f / 512, 0, 0, 0.1f});
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
// hold the same image and now and then to a different texture: batched, the same picture with
// one draw call for each run of one vertex format and one image.
TEST(GlDeviceBatching, GivesThePictureOfOneByOneDrawingWithADrawCallPerRun) {
  test::TempDir dir;
  RgbaImage checker = Solid(8, 8, 0xFFFFFFFF);
  for (int i = 0; i < 64; i += 3) test::Put(checker, i % 8, i / 8, 0xFFFFFF3C);
  const std::string atlas = dir.Write("checker.png", Png(checker));
  const std::string other = dir.Write("other.png", Png(Solid(4, 4, 0xFF8000C0)));

  RgbaImage pictures[2];
  for (bool batching : {false, true}) {
    auto context = CreateHeadlessGlContext(64, 48);
    GlDevice device(*context, GlDeviceOptions{batching});
    RenderState state;
    SetUpDevice(device, state, {0, 0, -10}, {0, 0, 0}, atlas);
    const TextureRef second = device.CreateTextureFromFileEx(other, {});
    std::mt19937 random(7);
    std::uniform_real_distribution<float> pos(-10, 70), op(0, 255);
    device.Clear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    uint32_t runs = 0;
    for (int i = 0, last_key = -1; i < 300; ++i) {
      const bool scene = i % 3 == 0, odd_texture = i % 50 == 49;
      const int key = scene * 2 + odd_texture;  // the vertex format and the image
      runs += key != std::exchange(last_key, key);
      device.SetTexture(0, odd_texture ? second.get()
                           : i % 2     ? state.glyph_layer1.get()
                                       : state.glyph_layer2.get());
      const float x = pos(random), y = pos(random);
      const uint32_t c = static_cast<uint32_t>(op(random)) << 24 | 0xFFFFFF;
      if (scene)
        SceneQuad(device, x / 10 - 3, y / 10 - 3, 2, static_cast<float>(i % 7), c);
      else
        Quad(device, {x, y, x + 15, y + 12}, 0.0f, c);
    }
    device.Present();
    pictures[batching] = device.ReadPixels();
    EXPECT_EQ(device.Stats().primitives_last_frame, 300u);
    EXPECT_EQ(device.Stats().draw_calls_last_frame, batching ? runs : 300u);
  }
  EXPECT_EQ(pictures[0].pixels, pictures[1].pixels);
}

}  // namespace
}  // namespace vx
