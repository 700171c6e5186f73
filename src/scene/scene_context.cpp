#include "scene/scene_context.h"

#include "scene/cls_ligne3d1.h"

namespace vx {

SceneContext::SceneContext(const Settings& s, Device& d, Random& r, EventScript& script)
    : settings(s), device(d), random(r), Script(script) {
  Lines.resize(1);
}

SceneContext::~SceneContext() = default;

void SceneContext::PrepareProjection() {
  Projection.Prepare(device.GetViewport(), projection, view, world);
}

void SceneContext::AddLine() {
  LastLine += 1;
  if (Lines.size() < static_cast<size_t>(LastLine) + 1)
    Lines.resize(static_cast<size_t>(LastLine) + 1);
  Lines[static_cast<size_t>(LastLine)] = std::make_unique<ClsLigne3D1>(*this);
}

}  // namespace vx
