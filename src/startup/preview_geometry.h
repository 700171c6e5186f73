// The preview window's size inside the host's preview area.
#pragma once

#include <cstdint>

#include "ports/window_system.h"

namespace vx {

inline constexpr const char* kPreviewCaption = "Preview Window";

struct PreviewGeometry {
  int16_t width_twips = 0, height_twips = 0;  // the preview window's size
  float image_width = 0, image_height = 0;    // the picture control's size, in pixels
};

// The host area's size in twips (half to even, 16 bits) and the picture control's size in
// pixels. Areas beyond 16-bit twips (over 2184 pixels at 15 twips a pixel) are held at the
// largest size that fits instead of failing: hosts give small areas, and a clamped preview
// still shows its picture.
PreviewGeometry ComputePreviewGeometry(const WindowRect& host, float twips_per_pixel_x,
                                       float twips_per_pixel_y);

}  // namespace vx
