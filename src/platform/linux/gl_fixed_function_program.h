// The shader pair that stands in for the part of Direct3D's fixed-function pipeline the saver
// configures: pre-transformed or transformed vertices, lighting without lights, and texture
// stage 0's colour and alpha operations. The device decides what to set; this knows how.
#pragma once

#include "core/d3d_types.h"

namespace vx {

class GlFixedFunctionProgram {
 public:
  // Compiles and links the pair and leaves it in use, sampling texture unit 0. The context
  // must be current. Throws DeviceError when the driver rejects the shaders.
  GlFixedFunctionProgram();
  ~GlFixedFunctionProgram();
  GlFixedFunctionProgram(const GlFixedFunctionProgram&) = delete;
  GlFixedFunctionProgram& operator=(const GlFixedFunctionProgram&) = delete;

  void Use() const;
  // Deletes the program now, while the caller knows its context is current.
  void Release();

  // The setters below act on the program in use.
  // Pre-transformed vertices are in pixels of a surface of this size.
  void SetSurfaceSize(int width, int height) const;
  // True when drawing into a window's framebuffer (rows bottom-up), false for the device's own
  // (rows top-down, as Direct3D's).
  void SetRowsBottomUp(bool bottom_up) const;
  void SetPretransformed(bool pretransformed) const;
  void SetLighting(bool lighting) const;
  // Direct3D's world x view x projection, row-major for row vectors.
  void SetWorldViewProjection(const D3DMatrix& wvp) const;
  void SetUseTexture(bool use_texture) const;
  // D3DTOP values of texture stage 0.
  void SetColourOp(int colour_op) const;
  void SetAlphaOp(int alpha_op) const;

 private:
  unsigned name_ = 0;
  int pretransformed_location_ = -1, lighting_location_ = -1, wvp_location_ = -1;
  int size_location_ = -1, y_sign_location_ = -1, use_texture_location_ = -1;
  int colour_op_location_ = -1, alpha_op_location_ = -1;
};

}  // namespace vx
