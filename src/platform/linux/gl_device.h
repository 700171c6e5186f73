// The render device over OpenGL 3.3 core. It translates the Direct3D states the saver sets
// for the shader pair that stands in for the fixed-function pipeline; consecutive quads with
// unchanged vertex format, texture and states are gathered and drawn with one upload and one
// draw call.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/common/texture_image.h"
#include "platform/linux/gl_context.h"
#include "platform/linux/gl_fixed_function_program.h"
#include "platform/linux/gl_texture.h"
#include "ports/device.h"

namespace vx {

struct GlDeviceOptions {
  // Draw each DrawPrimitiveUP on its own (for comparing pictures and for debugging).
  bool batching = true;
  // With a window: draw straight into the window's back buffer rather than into a framebuffer
  // of the device's own that Present copies over. The copy, flipped, costs a software renderer
  // about a quarter of a 1080p frame.
  bool draw_into_window = false;
  // With draw_into_window: keep each presented frame, so ReadPixels can return the last one
  // after its buffer was swapped away. Costs a read-back per frame; for screenshots.
  bool keep_last_frame = false;
};

struct GlFrameStats {
  uint64_t frames = 0;                 // Present calls so far
  uint32_t draw_calls_last_frame = 0;  // GL draw calls in the last presented frame
  uint32_t primitives_last_frame = 0;  // DrawPrimitiveUP calls in the last presented frame
  uint32_t triangles_last_frame = 0;   // triangles drawn in the last presented frame
};

class GlDevice final : public Device {
 public:
  // `context` must be current and outlive the device. The device draws into its own
  // framebuffer (RGBA8 colour, 16-bit depth) of the context's size and shows it on Present, or,
  // with draw_into_window, into the window's back buffer.
  // Throws DeviceError when the context lacks what the device needs.
  explicit GlDevice(GlContext& context, GlDeviceOptions options = {});
  ~GlDevice() override;
  GlDevice(const GlDevice&) = delete;
  GlDevice& operator=(const GlDevice&) = delete;

  void SetRenderState(uint32_t state, int32_t value) override;
  void SetTextureStageState(uint32_t stage, uint32_t type, int32_t value) override;
  void SetTransform(uint32_t type, const D3DMatrix& matrix) override;
  void Clear(uint32_t flags, uint32_t color, float z, uint32_t stencil) override;
  void BeginScene() override;
  void EndScene() override;
  void Present() override;
  void SetVertexShader(uint32_t fvf) override;
  void SetTexture(uint32_t stage, Texture* texture) override;
  void DrawPrimitiveUP(uint32_t primitive_type, uint32_t primitive_count, const void* vertices,
                       uint32_t stride) override;
  D3DViewport GetViewport() override;
  TextureRef CreateTextureFromFileEx(const std::string& file,
                                     const TextureLoadOptions& options) override;

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  // Drawing into a window, needs keep_last_frame; off-screen, the same as ReadPixels.
  RgbaImage ReadLastFrame() override { return ReadPixels(); }
  FrameCounts LastFrameCounts() const override {
    return {stats_.draw_calls_last_frame, stats_.triangles_last_frame};
  }

  // The picture drawn so far, rows top to bottom, RGBA (pending draws are flushed first); drawing
  // into a window with keep_last_frame, the last presented frame.
  RgbaImage ReadPixels();
  // Follows a new drawing-surface size (a host window that was resized): the framebuffer and
  // viewport take the new size and start black. Pending draws are flushed first.
  void Resize(int width, int height);
  // Waits until GL has finished every command given so far (for honest timings).
  void Finish();
  const GlFrameStats& Stats() const { return stats_; }
  // Bits of the depth buffer the driver actually gave.
  int DepthBits() const { return depth_bits_; }

 private:
  void Flush();
  void ReleaseGl();
  unsigned DrawTarget() const { return direct_ ? 0 : fbo_; }
  RgbaImage ReadTarget();
  void ApplyStates();

  int width_, height_;
  GlContext& context_;  // made current before the members below make their GL objects
  GlDeviceOptions options_;
  int depth_bits_ = 0;
  bool direct_ = false;          // drawing into the window's framebuffer
  RgbaImage last_frame_;         // with keep_last_frame
  std::shared_ptr<bool> alive_;  // tells textures outliving the device not to touch GL

  // Built once the context is current; the first GL object the device makes.
  GlFixedFunctionProgram program_;
  unsigned vbo_ = 0, ibo_ = 0, fbo_ = 0, colour_rb_ = 0, depth_rb_ = 0;
  unsigned vao_screen_ = 0, vao_scene_ = 0, sampler_ = 0;

  std::map<uint32_t, int32_t> render_states_;
  std::map<uint32_t, int32_t> stage_states_;
  bool states_dirty_ = true;
  D3DMatrix world_{}, view_{}, proj_{};
  bool wvp_dirty_ = true;

  uint32_t fvf_ = 0;
  unsigned bound_texture_ = 0;  // GL name on stage 0, 0 when none

  // The pending batch: vertices of one format, triangle indices into them.
  std::vector<uint8_t> pending_vertices_;
  std::vector<uint32_t> pending_indices_;
  uint32_t pending_fvf_ = 0;
  uint32_t pending_vertex_count_ = 0;

  std::map<std::string, std::weak_ptr<GlTexture::Object>> texture_cache_;  // by file bytes

  GlFrameStats stats_;
  uint32_t draw_calls_ = 0, primitives_ = 0, triangles_ = 0;
};

}  // namespace vx
