#include "render/device_setup.h"

#include <gtest/gtest.h>

#include <cstring>

#include "fakes/recording_device.h"

namespace vx {
namespace {

TEST(DeviceSetUp, HandsTheDeviceTheMatricesItKeepsAndLoadsFiveTexturesOfTheOneFile) {
  RecordingDevice device;
  RenderState state;
  SetUpDevice(device, state, {0, 0, -5}, {0, 0, 10}, "/data/VEXLUM01.PNG");
  const D3DMatrix* kept[] = {&state.world, &state.view, &state.projection};
  const uint32_t types[] = {D3DTS_WORLD, D3DTS_VIEW, D3DTS_PROJECTION};
  const auto transforms = device.Calls("SetTransform");
  const auto loads = device.Calls("CreateTextureFromFileEx");
  ASSERT_EQ(transforms.size(), 3u);
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(transforms[i]->a, types[i]);
    EXPECT_EQ(0, std::memcmp(&transforms[i]->matrix, kept[i], sizeof(D3DMatrix))) << i;
  }
  EXPECT_EQ(state.view.m[3][2], 5.0f);  // the view looks down +Z from 5 units behind the origin
  const TextureRef slots[] = {state.glyph_layer1, state.title_row_layer1, state.title_random_glyph,
                              state.glyph_layer2, state.title_real_glyph};
  ASSERT_EQ(loads.size(), 5u);
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(slots[i].get(), loads[i]->texture) << i;
    EXPECT_EQ(static_cast<RecordingTexture*>(slots[i].get())->file, "/data/VEXLUM01.PNG");
  }
  // A texture that cannot be loaded stops the set-up.
  RecordingDevice failing;
  failing.fail_texture_load = true;
  RenderState unset;
  EXPECT_THROW(SetUpDevice(failing, unset, {0, 0, 0}, {0, 0, 1}, "/missing.png"), DeviceError);
  EXPECT_FALSE(unset.glyph_layer1);
}

}  // namespace
}  // namespace vx
