// The shaders that stand in for the part of Direct3D's fixed-function pipeline the saver
// configures: pre-transformed or transformed vertices, lighting without lights, and texture
// stage 0's colour and alpha operations. The device decides what to set; this knows how.
//
// Each combination of those states gets a program of its own, compiled when first drawn with,
// rather than one program branching on uniforms: a software renderer runs every fragment
// through the program, and the branches cost it about a tenth of a frame.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/d3d_types.h"

namespace vx {

class GlFixedFunctionProgram {
 public:
  // Compiles and links the program of the initial states (Direct3D's defaults: transformed
  // vertices, lighting on, no texture, modulate and select-texture-alpha). The context must
  // be current. Throws DeviceError when the driver rejects the shaders.
  GlFixedFunctionProgram();
  ~GlFixedFunctionProgram();
  GlFixedFunctionProgram(const GlFixedFunctionProgram&) = delete;
  GlFixedFunctionProgram& operator=(const GlFixedFunctionProgram&) = delete;

  // Puts in use the program of the states set below, compiling it the first time, with the
  // values set below. Throws DeviceError when the driver rejects its shaders.
  void Use();
  // Deletes the programs now, while the caller knows its context is current.
  void Release();

  // Pre-transformed vertices are in pixels of a surface of this size.
  void SetSurfaceSize(int width, int height);
  // True when drawing into a window's framebuffer (rows bottom-up), false for the device's own
  // (rows top-down, as Direct3D's).
  void SetRowsBottomUp(bool bottom_up);
  void SetPretransformed(bool pretransformed) { pretransformed_ = pretransformed; }
  void SetLighting(bool lighting) { lighting_ = lighting; }
  // Direct3D's world x view x projection, row-major for row vectors.
  void SetWorldViewProjection(const D3DMatrix& wvp);
  void SetUseTexture(bool use_texture) { use_texture_ = use_texture; }
  // D3DTOP values of texture stage 0.
  void SetColourOp(int colour_op) { colour_op_ = colour_op; }
  void SetAlphaOp(int alpha_op) { alpha_op_ = alpha_op; }

 private:
  struct Variant {
    uint32_t key = 0;
    unsigned name = 0;
    int wvp_location = -1, size_location = -1, y_sign_location = -1;
    uint64_t values_seen = 0;  // the values_version_ its uniforms were last given
  };
  uint32_t Key() const;
  Variant& Compile(uint32_t key);

  std::vector<Variant> variants_;
  Variant* in_use_ = nullptr;
  bool pretransformed_ = false, lighting_ = true, use_texture_ = false;
  int colour_op_ = 4, alpha_op_ = 2;
  std::array<float, 16> wvp_{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  float width_ = 1, height_ = 1, y_sign_ = 1;
  uint64_t values_version_ = 1;
};

}  // namespace vx
