// What the 3D scene shares between its objects: the lines, the camera coordinates, the event
// script and title queue, and references to the settings, device and random generator.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/phase_clock.h"
#include "core/random.h"
#include "ports/device.h"
#include "render/render_state.h"
#include "render/screen_projection.h"
#include "scene/event_script.h"
#include "startup/settings.h"
#include "title/cls_titre2.h"

namespace vx {

class ClsLigne3D1;

struct SceneContext : RenderState {
  SceneContext(const Settings& settings, Device& device, Random& random, EventScript& script);
  ~SceneContext();
  SceneContext(const SceneContext&) = delete;
  SceneContext& operator=(const SceneContext&) = delete;

  const Settings& settings;
  Device& device;
  Random& random;
  EventScript& Script;  // kinds, texts, durations and the cursor EventIndex

  // Slots 0..LastLine hold lines; before the first line there is one empty slot.
  std::vector<std::unique_ptr<ClsLigne3D1>> Lines;
  int32_t LastLine = -1;

  float EyeX = 0.0f, EyeY = 0.0f, EyeZ = 0.0f;
  float TargetX = 0.0f, TargetY = 0.0f, TargetZ = 0.0f;
  float CameraDistance = 0.0f;

  TitleTextQueue TitleQueue;
  std::unique_ptr<ClsTitre2> Title;  // created by the first "txt" event

  std::array<SceneVertex, 4> SceneQuad{};
  std::array<ScreenVertex, 4> QuadVertices{};  // where every title quad is assembled

  // Refreshed from the device's viewport and the three matrices by PrepareProjection; the
  // frame calls it after it sets the view, before anything is drawn.
  ScreenProjection Projection;
  void PrepareProjection();

  // Appends one new line after LastLine (the line draws its own random start).
  void AddLine();
  int32_t LineCount() const { return LastLine + 1; }
};

}  // namespace vx
