// A scene context over a recording device, default settings and a chosen generator.
#pragma once

#include <memory>

#include "core/d3dx_math.h"
#include "core/random.h"
#include "fakes/recording_device.h"
#include "scene/scene_context.h"
#include "startup/settings.h"

namespace vx::testing {

inline Settings DefaultSceneSettings() {
  Settings s;
  s.TimeStep = 20;
  s.LetterHeight = 21;
  s.LetterWidth = 18;
  s.Limite = 100;
  s.FrameRateCap = 40;
  return s;
}

template <typename Rng>
struct SceneHarness {
  explicit SceneHarness(bool keep_calls = true) : device(keep_calls) {
    script.Append("txt", "", "1500");
    D3DXMatrixIdentity(ctx.world);
    D3DXMatrixPerspectiveFovLH(ctx.projection, 3.1415927f / 2.0f, 1.0f, 0.1f, 100000.0f);
    ctx.glyph_layer1 = std::make_shared<RecordingTexture>("one");
    ctx.glyph_layer2 = std::make_shared<RecordingTexture>("four");
  }
  // Looks from (0, 0, -400) at the origin, as the camera's resting place does.
  void LookFromBehind() {
    D3DXMatrixLookAtLH(ctx.view, {0, 0, -400}, {0, 0, 0}, {0, -1, 0});
    ctx.PrepareProjection();
  }

  Settings settings = DefaultSceneSettings();
  EventScript script;
  RecordingDevice device;
  Rng random;
  SceneContext ctx{settings, device, random, script};
};

}  // namespace vx::testing
