// The settings dialog's pictures, compiled into the program and decoded once: the button
// faces, the radio marks and the ball.
#pragma once

#include "controls/face_drawing.h"
#include "platform/common/texture_image.h"

namespace vx {

const RgbaImage& FacePictureImage(FacePicture picture);
const RgbaImage& RadioOnImage();
const RgbaImage& RadioOffImage();
const RgbaImage& BallImage();

// Draws an RGBA picture (alpha ignored), or the part src_x, src_y, src_w x src_h of it,
// stretched to the rectangle on the device context.
void DrawRgba(void* dc, const RgbaImage& image, int x, int y, int width, int height, int src_x,
              int src_y, int src_width, int src_height);
// Draws an RGBA picture stretched to width x height, blended over what is there by its alpha.
void BlendRgba(void* dc, const RgbaImage& image, int x, int y, int width, int height);

inline void DrawRgba(void* dc, const RgbaImage& image, int x, int y) {
  DrawRgba(dc, image, x, y, image.width, image.height, 0, 0, image.width, image.height);
}

}  // namespace vx
