// The device set-up before the frame loop: the fixed states, the three matrices and the five
// texture slots, set once on a freshly created device before the frame loop starts.
#pragma once

#include <string>

#include "ports/device.h"
#include "render/render_state.h"

namespace vx {

// The projection the saver always uses: a quarter turn of vertical field of view, square
// aspect (the picture is stretched to the screen's shape), near 0.1, far 100000.
inline constexpr float kFieldOfView = 3.1415927f / 2.0f;
inline constexpr float kAspect = 1.0f;
inline constexpr float kNearPlane = 0.1f;
inline constexpr float kFarPlane = 100000.0f;

// The view matrix from the camera's eye and target; up is minus Y.
void BuildViewMatrix(D3DMatrix& out, const D3DVector& eye, const D3DVector& target);

// Sets the states, transforms and textures in the order the saver has always used. A texture
// that cannot be loaded throws DeviceError; the slots loaded before it stay filled.
void SetUpDevice(Device& device, RenderState& state, const D3DVector& eye, const D3DVector& target,
                 const std::string& image_file);

}  // namespace vx
