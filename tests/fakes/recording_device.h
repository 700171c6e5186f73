// A Device that draws nothing and keeps every call, with its arguments and vertices, for
// assertions in tests and as the null device of benchmarks.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "ports/device.h"

namespace vx {

class RecordingTexture final : public Texture {
 public:
  explicit RecordingTexture(std::string file) : file(std::move(file)) {}
  std::string file;
};

struct DeviceCall {
  std::string name;            // the Device method's
  uint32_t a = 0;              // the first number passed: state, transform, fvf, flags, type
  int32_t value = 0;           // a render state's
  int32_t stride = 0;          // a draw's vertex size
  D3DMatrix matrix{};          // a transform's
  Texture* texture = nullptr;  // bound, or loaded
  std::vector<ScreenVertex> screen_vertices{};
  std::vector<SceneVertex> scene_vertices{};
};

// The opacity a vertex colour carries.
inline int32_t Alpha(const ScreenVertex& v) {
  return static_cast<int32_t>(static_cast<uint32_t>(v.diffuse) >> 24);
}

class RecordingDevice final : public Device {
 public:
  // When false only counts draws (benchmarks); when true keeps every call.
  explicit RecordingDevice(bool keep_calls = true) : keep_(keep_calls) {}

  std::vector<DeviceCall> calls;
  size_t draw_count = 0;
  D3DViewport viewport{0, 0, 1024, 768, 0.0f, 1.0f};
  bool fail_texture_load = false;

  void SetRenderState(uint32_t state, int32_t value) override {
    if (Keep("SetRenderState", state)) calls.back().value = value;
  }
  void SetTextureStageState(uint32_t, uint32_t type, int32_t) override {
    Keep("SetTextureStageState", type);
  }
  void SetTransform(uint32_t type, const D3DMatrix& m) override {
    if (Keep("SetTransform", type)) calls.back().matrix = m;
  }
  void Clear(uint32_t flags, uint32_t, float, uint32_t) override { Keep("Clear", flags); }
  void BeginScene() override { Keep("BeginScene"); }
  void EndScene() override { Keep("EndScene"); }
  void Present() override { Keep("Present"); }
  void SetVertexShader(uint32_t fvf) override { Keep("SetVertexShader", fvf); }
  void SetTexture(uint32_t, Texture* t) override {
    if (Keep("SetTexture")) calls.back().texture = t;
  }
  void DrawPrimitiveUP(uint32_t type, uint32_t count, const void* v, uint32_t stride) override {
    ++draw_count;
    if (!Keep("DrawPrimitiveUP", type)) return;
    calls.back().stride = static_cast<int32_t>(stride);
    const size_t n = type == D3DPT_TRIANGLELIST ? size_t{count} * 3 : count + 2;
    if (stride == sizeof(ScreenVertex)) CopyVertices(calls.back().screen_vertices, v, n);
    if (stride == sizeof(SceneVertex)) CopyVertices(calls.back().scene_vertices, v, n);
  }
  D3DViewport GetViewport() override {
    Keep("GetViewport");
    return viewport;
  }
  TextureRef CreateTextureFromFileEx(const std::string& file, const TextureLoadOptions&) override {
    if (fail_texture_load) throw DeviceError("cannot load " + file);
    auto texture = std::make_shared<RecordingTexture>(file);
    if (Keep("CreateTextureFromFileEx")) calls.back().texture = texture.get();
    return texture;
  }

  int Width() const override { return static_cast<int>(viewport.Width); }
  int Height() const override { return static_cast<int>(viewport.Height); }
  // A black picture of the viewport's size.
  RgbaImage ReadLastFrame() override {
    return {Width(), Height(), std::vector<uint8_t>(static_cast<size_t>(Width()) * Height() * 4)};
  }
  FrameCounts LastFrameCounts() const override { return {1, 2}; }

  // The calls of one method, or the draws of one vertex size.
  std::vector<const DeviceCall*> Calls(const std::string& name, int32_t stride = 0) const {
    std::vector<const DeviceCall*> out;
    for (const auto& c : calls)
      if (c.name == name && (stride == 0 || c.stride == stride)) out.push_back(&c);
    return out;
  }
  std::vector<const DeviceCall*> Draws(int32_t stride = 0) const {
    return Calls("DrawPrimitiveUP", stride);
  }
  // The textures bound, in order.
  std::vector<Texture*> Bound() const {
    std::vector<Texture*> out;
    for (const DeviceCall* c : Calls("SetTexture")) out.push_back(c->texture);
    return out;
  }

 private:
  // Builds the record only when it is kept: as a benchmark's null device it costs nothing.
  bool Keep(const char* name, uint32_t a = 0) {
    if (keep_) calls.push_back({name, a});
    return keep_;
  }
  template <typename Vertex>
  static void CopyVertices(std::vector<Vertex>& out, const void* v, size_t n) {
    out.resize(n);
    std::memcpy(out.data(), v, n * sizeof(Vertex));
  }

  bool keep_ = true;
};

}  // namespace vx
