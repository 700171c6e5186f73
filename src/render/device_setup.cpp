#include "render/device_setup.h"

#include "core/d3dx_math.h"

namespace vx {

void BuildViewMatrix(D3DMatrix& out, const D3DVector& eye, const D3DVector& target) {
  D3DXMatrixLookAtLH(out, eye, target, D3DVector{0.0f, -1.0f, 0.0f});
}

void SetUpDevice(Device& device, RenderState& state, const D3DVector& eye, const D3DVector& target,
                 const std::string& image_file) {
  device.SetRenderState(D3DRS_LIGHTING, 0);
  device.SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  device.SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  device.SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
  device.SetRenderState(D3DRS_ALPHABLENDENABLE, -1);

  // Texture alpha times vertex alpha, so the diffuse alpha fades a letter. The colour
  // operation keeps the default (texture times diffuse).
  device.SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
  device.SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_LINEAR);
  device.SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_LINEAR);

  device.SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);

  D3DXMatrixIdentity(state.world);
  device.SetTransform(D3DTS_WORLD, state.world);
  BuildViewMatrix(state.view, eye, target);
  device.SetTransform(D3DTS_VIEW, state.view);
  D3DXMatrixPerspectiveFovLH(state.projection, kFieldOfView, kAspect, kNearPlane, kFarPlane);
  device.SetTransform(D3DTS_PROJECTION, state.projection);

  const TextureLoadOptions options;  // 512 x 512, full point-filtered chain, managed, no key
  TextureRef* slots[] = {&state.glyph_layer1, &state.title_row_layer1, &state.title_random_glyph,
                         &state.glyph_layer2, &state.title_real_glyph};
  for (TextureRef* slot : slots) *slot = device.CreateTextureFromFileEx(image_file, options);
}

}  // namespace vx
