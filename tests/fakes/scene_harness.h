// What a scene or title test draws through: a recording device, a camera at (0, 0, -400)
// looking at the origin, the glyph and title canvases over them with five distinct texture
// slots, a 1024 x 768 surface, default settings and a chosen generator.
#pragma once

#include <memory>

#include "core/d3dx_math.h"
#include "fakes/recording_device.h"
#include "fakes/scripted_random.h"
#include "render/device_setup.h"
#include "render/render_state.h"
#include "render/screen_projection.h"
#include "scene/glyph_canvas.h"
#include "scene/scene.h"
#include "scene/scene_settings.h"
#include "title/title_canvas.h"
#include "title/title_context.h"

namespace vx::testing {

template <typename Rng = ScriptedRandom>
struct SceneHarness {
  explicit SceneHarness(bool keep_calls = true) : device(keep_calls) {
    D3DXMatrixIdentity(render.world);
    D3DXMatrixPerspectiveFovLH(render.projection, kFieldOfView, kAspect, kNearPlane, kFarPlane);
    TextureRef* slots[] = {&render.glyph_layer1, &render.title_row_layer1,
                           &render.title_random_glyph, &render.glyph_layer2,
                           &render.title_real_glyph};
    const char* names[] = {"glyph 1", "row 1", "random", "glyph 2", "real"};
    for (int i = 0; i < 5; ++i) *slots[i] = std::make_shared<RecordingTexture>(names[i]);
    glyph_canvas.layer1 = render.glyph_layer1.get();
    glyph_canvas.layer2 = render.glyph_layer2.get();
    title_canvas.row_layer1 = render.title_row_layer1.get();
    title_canvas.row_layer2 = render.glyph_layer1.get();
    title_canvas.random_glyph = render.title_random_glyph.get();
    title_canvas.real_glyph = render.title_real_glyph.get();
    LookFrom({0, 0, -400}, {0, 0, 0});
  }
  void LookFrom(const D3DVector& eye, const D3DVector& target) {
    scene.view.eye = eye;
    scene.view.target = target;
    BuildViewMatrix(render.view, eye, target);
    projection.Prepare(device.viewport, render.projection, render.view, render.world);
  }

  SceneSettings settings;
  RecordingDevice device;
  Rng random;
  Scene scene;
  RenderState render;
  ScreenProjection projection;
  GlyphCanvas glyph_canvas{device, projection};
  TitleContext title_ctx{20, random, 18, 21, 1024, 768};
  TitleCanvas title_canvas{device};
};

}  // namespace vx::testing
