// One drawn frame of the saver scene, and the scene's reset before the frame loop starts.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "scene/cls_camera.h"
#include "scene/cls_coordonnees.h"
#include "scene/cls_evenements.h"
#include "scene/scene_context.h"

namespace vx {

// What the frame loop owns: the camera, the scheduler (both made on first use) and the
// draw-order list, plus scratch storage reused from frame to frame.
struct SceneLoop {
  std::optional<ClsCamera> Camera;
  std::optional<ClsEvenements> Events;
  ClsCoordonnees DrawOrder;
  std::vector<int32_t> order;  // line indexes in drawing order, rebuilt every frame

  struct DepthKey {
    float z;
    int32_t position;
  };
  std::vector<DepthKey> keys;
};

// No lines yet: LastLine -1 and one empty slot.
void ResetScene(SceneContext& ctx);

// Moves the camera, sets the view, clears, updates the scheduler and every line, draws the
// lines back to front and presents.
void DrawFrame(SceneContext& ctx, SceneLoop& loop);

// Fills `order` with the elements of `list` (line indexes) farthest first. With the eye on the
// +Z side of the target (eye_minus_target > 0) the smallest ZSz is the farthest, otherwise the
// largest; equal depths keep their order in the list. Leaves `list` as it was.
void OrderBackToFront(const SceneContext& ctx, const ClsCoordonnees& list, float eye_minus_target,
                      std::vector<SceneLoop::DepthKey>& keys, std::vector<int32_t>& order);

// The same order found by repeated selection, emptying `list`: quadratic, kept as the
// reference the sort is checked and measured against.
void OrderBackToFrontByScan(const SceneContext& ctx, ClsCoordonnees& list, float eye_minus_target,
                            std::vector<int32_t>& order);

}  // namespace vx
