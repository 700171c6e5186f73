// The D3DX math against values worked out by hand from Direct3D's formulas, the colour fast
// path against the text rule, and the order of the device set-up.
#include <gtest/gtest.h>

#include "core/d3dx_math.h"
#include "fakes/recording_device.h"
#include "render/device_setup.h"
#include "render/vertices.h"

namespace vx {
namespace {

void ExpectMatrix(const D3DMatrix& m, const float (&want)[4][4], float tolerance = 1e-6f) {
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) EXPECT_NEAR(m.m[r][c], want[r][c], tolerance) << r << "," << c;
}

TEST(D3DXMath, LookAtWithMinusYUpMirrorsXAndYAndTranslatesByTheEye) {
  D3DMatrix m;
  // Looking down +Z from (1, 2, 3) with up = -Y: x axis (-1,0,0), y axis (0,-1,0).
  D3DXMatrixLookAtLH(m, {1, 2, 3}, {1, 2, 13}, {0, -1, 0});
  ExpectMatrix(m, {{-1, 0, 0, 0}, {0, -1, 0, 0}, {0, 0, 1, 0}, {1, 2, -3, 1}});
  // Looking down +X: z axis (1,0,0), x axis = up x z = (0,0,1), y axis = z x x = (0,-1,0).
  D3DXMatrixLookAtLH(m, {0, 0, 0}, {5, 0, 0}, {0, -1, 0});
  ExpectMatrix(m, {{0, 0, 1, 0}, {0, -1, 0, 0}, {1, 0, 0, 0}, {0, 0, 0, 1}});
}

TEST(D3DXMath, PerspectiveIsLeftHandedWithDepthZeroToOne) {
  D3DMatrix m;
  D3DXMatrixPerspectiveFovLH(m, kFieldOfView, 2.0f, kNearPlane, kFarPlane);
  const float q = 100000.0f / (100000.0f - 0.1f);
  ExpectMatrix(m, {{0.5f, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, q, 1}, {0, 0, -0.1f * q, 0}});
  D3DXMatrixIdentity(m);
  ExpectMatrix(m, {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}});
}

struct ProjectCase {
  D3DVector point;
  D3DVector want;
};

TEST(D3DXMath, ProjectHitsViewportCornersCentreAndDepthPlanes) {
  // The saver's camera at the origin looking down +Z, up -Y; a viewport that is offset and
  // has a narrowed depth range so X, Y, MinZ and MaxZ all show in the result.
  D3DMatrix world, view, proj;
  D3DXMatrixIdentity(world);
  BuildViewMatrix(view, {0, 0, 0}, {0, 0, 1});
  D3DXMatrixPerspectiveFovLH(proj, kFieldOfView, kAspect, kNearPlane, kFarPlane);
  const D3DViewport vp{10, 20, 800, 600, 0.25f, 0.75f};
  // Depth at z = 1: q - 0.1 q, with q = far / (far - near).
  const float q = 100000.0f / (100000.0f - 0.1f);
  const float d1 = 0.25f + 0.5f * (q - 0.1f * q);
  const float d2 = 0.25f + 0.5f * (q - 0.1f * q / 2.0f);
  const ProjectCase cases[] = {
      {{0, 0, 1}, {410, 320, d1}},          // centre
      {{-1, -1, 1}, {810, 20, d1}},         // view x and y are mirrored: top-right corner
      {{1, 1, 1}, {10, 620, d1}},           // bottom-left corner
      {{-2, 2, 2}, {810, 620, d2}},         // bottom-right, farther
      {{0, 0, 0.1f}, {410, 320, 0.25f}},    // near plane -> MinZ
      {{0, 0, 100000}, {410, 320, 0.75f}},  // far plane -> MaxZ
  };
  for (const auto& c : cases) {
    D3DVector out;
    D3DXVec3Project(out, c.point, vp, proj, view, world);
    EXPECT_NEAR(out.x, c.want.x, 1e-3f) << c.point.x << "," << c.point.y << "," << c.point.z;
    EXPECT_NEAR(out.y, c.want.y, 1e-3f) << c.point.x << "," << c.point.y << "," << c.point.z;
    EXPECT_NEAR(out.z, c.want.z, 1e-5f) << c.point.z;
  }
}

TEST(VertexColour, FastPathEqualsTextRuleOverTheWholeOpacityRange) {
  const int32_t colours[] = {0xFFFFFF, 0x123456, 0x100000, 0xABCDEF, 0x0FFFFF, 0xFF, 0};
  for (int32_t colour : colours)
    for (int32_t opacity = 0; opacity <= 255; ++opacity)
      ASSERT_EQ(PackColour(opacity, colour), PackColourByText(opacity, colour))
          << std::hex << opacity << " " << colour;
  EXPECT_EQ(PackColour(128, 0xFFFFFF), static_cast<int32_t>(0x80FFFFFF));
  EXPECT_EQ(PackColour(5, 0xFFFFFF), 0x05FFFFFF);
  EXPECT_EQ(PackColour(0, 0xFFFFFF), 0x00FFFFFF);
  EXPECT_EQ(PackColour(255, 0xFFFFFF), -1);
  // A short colour text shifts the opacity down, and four digits read as a 16-bit value:
  // the text rule, not a plain shift.
  EXPECT_EQ(PackColour(0x80, 0xFF), static_cast<int16_t>(0x80FF));
}

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
