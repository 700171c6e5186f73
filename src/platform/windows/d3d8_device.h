// The render device on the real Direct3D 8, loaded from d3d8.dll at run time so that the
// program needs no import library and starts with a clear message where it is missing.
// Textures are decoded and sized by the shared image code and uploaded level by level.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/common/texture_image.h"
#include "ports/device.h"

struct HWND__;
struct IDirect3D8;
struct IDirect3DDevice8;
struct HINSTANCE__;

namespace vx {

struct D3D8DeviceOptions {
  // Join consecutive draws that share their states into one call: the saver draws each glyph
  // as its own quad, and a driver's cost per call (Wine's above all) dwarfs a quad's.
  bool batching = true;
  int width = 0, height = 0;  // the back buffer's size
  bool windowed = false;      // false: full screen, 16-bit colour, at width x height
  bool vsync = true;          // false: present as fast as frames come (--uncapped)
  bool readable = false;      // the back buffer can be read (for --screenshot)
  // On the adapter showing the window (a monitor other than the primary), not the default.
  bool adapter_of_window = false;
};

class D3D8Device final : public Device {
 public:
  // Throws DeviceError, saying why, when Direct3D 8 is missing or no device can be made.
  D3D8Device(HWND__* window, const D3D8DeviceOptions& options);
  ~D3D8Device() override;
  D3D8Device(const D3D8Device&) = delete;
  D3D8Device& operator=(const D3D8Device&) = delete;

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
  // Read from a lockable back buffer (the front buffer reads black under Wine): needs
  // `readable`.
  RgbaImage ReadLastFrame() override;
  FrameCounts LastFrameCounts() const override { return {draw_calls_last_, triangles_last_}; }

 private:
  // Draws the pending batch, if any.
  void Flush();
  // After the display was taken away (another full-screen program, a locked session, a mode
  // change) frames go nowhere until the device can be reset; then everything the device was
  // told is told again and drawing resumes where it was. Throws DeviceError when the device
  // could be reset but Reset kept failing for kResetPatienceMs.
  void RecoverIfLost();
  // A reset wipes every state, matrix, vertex format and bound texture: set them again.
  void Restore();

  HINSTANCE__* library_ = nullptr;
  IDirect3D8* d3d_ = nullptr;
  IDirect3DDevice8* device_ = nullptr;
  struct PresentParameters;
  std::unique_ptr<PresentParameters> present_;  // kept for Reset
  int width_ = 0, height_ = 0;
  bool batching_ = true;
  bool lost_ = false;
  uint32_t reset_failing_since_ = 0;  // GetTickCount of the first failed Reset, 0 if none
  static constexpr uint32_t kResetPatienceMs = 10000;
  uint32_t fvf_ = 0;
  void* bound_texture_ = nullptr;  // the IDirect3DTexture8 on stage 0
  // What the device was told, to tell it again after a reset.
  std::map<uint32_t, int32_t> render_states_;
  std::map<std::pair<uint32_t, uint32_t>, int32_t> stage_states_;
  std::map<uint32_t, D3DMatrix> transforms_;
  std::map<uint32_t, void*> textures_;  // stage -> IDirect3DTexture8
  // The pending batch: a triangle list of one vertex format.
  std::vector<uint8_t> pending_;
  uint32_t pending_fvf_ = 0, pending_stride_ = 0, pending_triangles_ = 0;
  // Textures by their file's bytes: the saver loads the same picture into several slots, and
  // one texture for all of them keeps the batches whole.
  std::map<std::string, std::weak_ptr<Texture>> texture_cache_;
  uint32_t draw_calls_ = 0, triangles_ = 0, draw_calls_last_ = 0, triangles_last_ = 0;
};

}  // namespace vx
