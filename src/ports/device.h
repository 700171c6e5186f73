// The render device the saver draws through: exactly the Direct3D 8 operations it uses, under
// their Direct3D names. Implemented over OpenGL on Linux, by Direct3D 8 itself on Windows and
// by a recorder in tests.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

#include "core/d3d_types.h"
#include "core/rgba_image.h"

namespace vx {

// Render states.
inline constexpr uint32_t D3DRS_ZENABLE = 7;
inline constexpr uint32_t D3DRS_SRCBLEND = 19;
inline constexpr uint32_t D3DRS_DESTBLEND = 20;
inline constexpr uint32_t D3DRS_CULLMODE = 22;
inline constexpr uint32_t D3DRS_ALPHABLENDENABLE = 27;
inline constexpr uint32_t D3DRS_LIGHTING = 137;
// Texture-stage states.
inline constexpr uint32_t D3DTSS_COLOROP = 1;
inline constexpr uint32_t D3DTSS_ALPHAOP = 4;
inline constexpr uint32_t D3DTSS_MAGFILTER = 16;
inline constexpr uint32_t D3DTSS_MINFILTER = 17;
// Values.
inline constexpr int32_t D3DCULL_NONE = 1;
inline constexpr int32_t D3DBLEND_SRCALPHA = 5;
inline constexpr int32_t D3DBLEND_INVSRCALPHA = 6;
inline constexpr int32_t D3DTOP_MODULATE = 4;
inline constexpr int32_t D3DTEXF_POINT = 1;
inline constexpr int32_t D3DTEXF_LINEAR = 2;
inline constexpr int32_t D3DZB_TRUE = 1;
// Transforms.
inline constexpr uint32_t D3DTS_VIEW = 2;
inline constexpr uint32_t D3DTS_PROJECTION = 3;
inline constexpr uint32_t D3DTS_WORLD = 256;
// Clear flags, primitive type, vertex formats.
inline constexpr uint32_t D3DCLEAR_TARGET = 1;
inline constexpr uint32_t D3DCLEAR_ZBUFFER = 2;
inline constexpr uint32_t D3DPT_TRIANGLELIST = 4;
inline constexpr uint32_t D3DPT_TRIANGLESTRIP = 5;
inline constexpr uint32_t kFvfScreenVertex = 0x1C4;  // XYZRHW | DIFFUSE | SPECULAR | TEX1 (452)
inline constexpr uint32_t kFvfSceneVertex = 0x1C2;   // XYZ | DIFFUSE | SPECULAR | TEX1 (450)

struct ScreenVertex {
  float x, y, z, rhw;
  int32_t diffuse, specular;
  float tu, tv;
};
static_assert(sizeof(ScreenVertex) == 32);

struct SceneVertex {
  float x, y, z;
  int32_t diffuse, specular;
  float tu, tv;
};
static_assert(sizeof(SceneVertex) == 28);

class Texture {
 public:
  virtual ~Texture() = default;
};
using TextureRef = std::shared_ptr<Texture>;

// A failing platform call (device creation, texture load, a lost device).
class DeviceError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The arguments the saver passes to the texture loader (D3DX's CreateTextureFromFileEx).
struct TextureLoadOptions {
  uint32_t width = 512, height = 512;
  int32_t mip_levels = -1;  // D3DX_DEFAULT: a full chain
  uint32_t usage = 0, format = 0, pool = 1;
  uint32_t filter = 2, mip_filter = 2;  // D3DX_FILTER_POINT
  uint32_t color_key = 0;
};

// How much the last presented frame asked of the driver.
struct FrameCounts {
  uint32_t draw_calls = 0;  // draw calls the device made to the driver
  uint32_t triangles = 0;
};

class Device {
 public:
  virtual ~Device() = default;
  virtual void SetRenderState(uint32_t state, int32_t value) = 0;
  virtual void SetTextureStageState(uint32_t stage, uint32_t type, int32_t value) = 0;
  virtual void SetTransform(uint32_t type, const D3DMatrix& matrix) = 0;
  virtual void Clear(uint32_t flags, uint32_t color, float z, uint32_t stencil) = 0;
  virtual void BeginScene() = 0;
  virtual void EndScene() = 0;
  virtual void Present() = 0;
  virtual void SetVertexShader(uint32_t fvf) = 0;
  virtual void SetTexture(uint32_t stage, Texture* texture) = 0;
  virtual void DrawPrimitiveUP(uint32_t primitive_type, uint32_t primitive_count,
                               const void* vertices, uint32_t stride) = 0;
  virtual D3DViewport GetViewport() = 0;
  // Throws DeviceError when the file cannot be read or decoded.
  virtual TextureRef CreateTextureFromFileEx(const std::string& file,
                                             const TextureLoadOptions& options) = 0;

  // Beyond Direct3D 8's operations, what every device can tell about its frames:
  // the drawing surface's size in pixels,
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  // the last presented frame (throws DeviceError when the device cannot read it back),
  virtual RgbaImage ReadLastFrame() = 0;
  // and what that frame cost the driver.
  virtual FrameCounts LastFrameCounts() const = 0;
};

}  // namespace vx
