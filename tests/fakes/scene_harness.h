// What a scene or title test draws through: a recording device on a 1024 x 768 surface, a
// camera at (0, 0, -400) looking at the origin with the saver's projection, the glyph and
// title canvases over them with distinct textures (a title row's second layer is a glyph's
// first, as in the saver), default settings and a scripted generator.
#pragma once

#include <utility>
#include <vector>

#include "core/d3dx_math.h"
#include "fakes/recording_device.h"
#include "fakes/scripted_random.h"
#include "render/device_setup.h"
#include "render/screen_projection.h"
#include "scene/glyph_canvas.h"
#include "scene/scene_settings.h"
#include "scene/viewpoint.h"
#include "title/title_canvas.h"
#include "title/title_context.h"

namespace vx {

struct SceneHarness {
  SceneHarness() {
    D3DXMatrixIdentity(world);
    BuildViewMatrix(view_matrix, view.eye, view.target);
    D3DXMatrixPerspectiveFovLH(projection_matrix, kFieldOfView, kAspect, kNearPlane, kFarPlane);
    projection.Prepare(device.viewport, projection_matrix, view_matrix, world);
  }

  SceneSettings settings;
  RecordingDevice device;
  ScriptedRandom random;
  Viewpoint view{{0, 0, -400}, {0, 0, 0}, 400};
  D3DMatrix world{}, view_matrix{}, projection_matrix{};
  ScreenProjection projection;
  RecordingTexture glyph_layer1{"glyph 1"}, glyph_layer2{"glyph 2"}, row_layer1{"row 1"},
      random_glyph{"random"}, real_glyph{"real"};
  GlyphCanvas glyph_canvas{device, projection, &glyph_layer1, &glyph_layer2};
  TitleContext title_ctx{20, random, 18, 21, 1024, 768};
  TitleCanvas title_canvas{device, &row_layer1, &glyph_layer1, &random_glyph, &real_glyph};
};

// Calls `step` until `phase` (which it changes) is `end`: each phase passed through, in order,
// with the number of calls it lasted.
template <typename Phase, typename Step>
std::vector<std::pair<Phase, int>> PhaseRuns(const Phase& phase, Phase end, Step step) {
  std::vector<std::pair<Phase, int>> runs;
  for (int calls = 0; phase != end && calls < 10000; ++calls) {
    if (runs.empty() || runs.back().first != phase) runs.emplace_back(phase, 0);
    ++runs.back().second;
    step();
  }
  return runs;
}

}  // namespace vx
