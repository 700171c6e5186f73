#include "render/device_setup.h"

#include <gtest/gtest.h>

#include <cstring>

#include "fakes/recording_device.h"

namespace vx {
namespace {

TEST(DeviceSetUp, SetsStatesAndTransformsOnceInOrderAndLoadsFiveSlots) {
  RecordingDevice device;
  RenderState state;
  SetUpDevice(device, state, {0, 0, -5}, {0, 0, 10}, "/data/VEXLUM01.PNG");

  using K = DeviceCall;
  struct Want {
    K::Kind kind;
    uint32_t a, b;
    int32_t value;
  };
  const Want want[] = {
      {K::kRenderState, D3DRS_LIGHTING, 0, 0},
      {K::kRenderState, D3DRS_CULLMODE, 0, D3DCULL_NONE},
      {K::kRenderState, D3DRS_SRCBLEND, 0, D3DBLEND_SRCALPHA},
      {K::kRenderState, D3DRS_DESTBLEND, 0, D3DBLEND_INVSRCALPHA},
      {K::kRenderState, D3DRS_ALPHABLENDENABLE, 0, -1},
      {K::kTextureStageState, D3DTSS_ALPHAOP, 0, D3DTOP_MODULATE},
      {K::kTextureStageState, D3DTSS_MAGFILTER, 0, D3DTEXF_LINEAR},
      {K::kTextureStageState, D3DTSS_MINFILTER, 0, D3DTEXF_LINEAR},
      {K::kRenderState, D3DRS_ZENABLE, 0, D3DZB_TRUE},
      {K::kTransform, D3DTS_WORLD, 0, 0},
      {K::kTransform, D3DTS_VIEW, 0, 0},
      {K::kTransform, D3DTS_PROJECTION, 0, 0},
      {K::kLoadTexture, 0, 0, 0},
      {K::kLoadTexture, 0, 0, 0},
      {K::kLoadTexture, 0, 0, 0},
      {K::kLoadTexture, 0, 0, 0},
      {K::kLoadTexture, 0, 0, 0},
  };
  ASSERT_EQ(device.calls.size(), std::size(want));
  for (size_t i = 0; i < std::size(want); ++i) {
    const DeviceCall& c = device.calls[i];
    EXPECT_EQ(c.kind, want[i].kind) << i;
    EXPECT_EQ(c.a, want[i].a) << i;
    EXPECT_EQ(c.b, want[i].b) << i;
    EXPECT_EQ(c.value, want[i].value) << i;
    if (c.kind == K::kLoadTexture) {
      EXPECT_EQ(c.file, "/data/VEXLUM01.PNG");
    }
  }

  // The transforms handed to the device are the ones the scene will read back.
  D3DMatrix view;
  BuildViewMatrix(view, {0, 0, -5}, {0, 0, 10});
  EXPECT_EQ(0, std::memcmp(&device.calls[10].matrix, &view, sizeof view));
  EXPECT_EQ(0, std::memcmp(&device.calls[10].matrix, &state.view, sizeof view));
  EXPECT_EQ(0, std::memcmp(&device.calls[11].matrix, &state.projection, sizeof view));

  // Five distinct slots, each from the one file, in slot order.
  const TextureRef slots[] = {state.glyph_layer1, state.title_row_layer1, state.title_random_glyph,
                              state.glyph_layer2, state.title_real_glyph};
  for (const auto& t : slots) {
    ASSERT_TRUE(t);
    EXPECT_EQ(static_cast<RecordingTexture*>(t.get())->file, "/data/VEXLUM01.PNG");
  }
  EXPECT_NE(state.glyph_layer1, state.title_real_glyph);
}

TEST(DeviceSetUp, AFailingTextureLoadStopsTheSetUp) {
  RecordingDevice device;
  device.fail_texture_load = true;
  RenderState state;
  EXPECT_THROW(SetUpDevice(device, state, {0, 0, 0}, {0, 0, 1}, "/missing.png"), DeviceError);
  EXPECT_FALSE(state.glyph_layer1);
}

}  // namespace
}  // namespace vx
