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
  std::string file{};
};

struct DeviceCall {
  enum Kind {
    kRenderState,
    kTextureStageState,
    kTransform,
    kClear,
    kBeginScene,
    kEndScene,
    kPresent,
    kVertexShader,
    kTexture,
    kDraw,
    kGetViewport,
    kLoadTexture
  };
  DeviceCall(Kind kind, uint32_t a = 0, uint32_t b = 0, int32_t value = 0)
      : kind(kind), a(a), b(b), value(value) {}
  Kind kind;
  uint32_t a = 0, b = 0;  // state/value, type/stage, fvf, primitive type/count ...
  int32_t value = 0;
  D3DMatrix matrix{};
  Texture* texture = nullptr;
  std::string file{};
  std::vector<ScreenVertex> screen_vertices{};  // kDraw with stride 32
  std::vector<SceneVertex> scene_vertices{};    // kDraw with stride 28
};

class RecordingDevice final : public Device {
 public:
  // When false only counts draws (benchmarks); when true keeps every call.
  explicit RecordingDevice(bool keep_calls = true) : keep_(keep_calls) {}

  std::vector<DeviceCall> calls;
  size_t draw_count = 0;
  D3DViewport viewport{0, 0, 1024, 768, 0.0f, 1.0f};
  bool fail_texture_load = false;

  void SetRenderState(uint32_t state, int32_t value) override {
    Keep(DeviceCall::kRenderState, state, 0, value);
  }
  void SetTextureStageState(uint32_t stage, uint32_t type, int32_t value) override {
    Keep(DeviceCall::kTextureStageState, type, stage, value);
  }
  void SetTransform(uint32_t type, const D3DMatrix& m) override {
    if (!keep_) return;
    DeviceCall c{DeviceCall::kTransform, type};
    c.matrix = m;
    calls.push_back(std::move(c));
  }
  void Clear(uint32_t flags, uint32_t color, float, uint32_t) override {
    Keep(DeviceCall::kClear, flags, color);
  }
  void BeginScene() override { Keep(DeviceCall::kBeginScene); }
  void EndScene() override { Keep(DeviceCall::kEndScene); }
  void Present() override { Keep(DeviceCall::kPresent); }
  void SetVertexShader(uint32_t fvf) override { Keep(DeviceCall::kVertexShader, fvf); }
  void SetTexture(uint32_t stage, Texture* t) override {
    if (!keep_) return;
    DeviceCall c{DeviceCall::kTexture, stage};
    c.texture = t;
    calls.push_back(std::move(c));
  }
  void DrawPrimitiveUP(uint32_t type, uint32_t count, const void* v, uint32_t stride) override {
    ++draw_count;
    if (!keep_) return;
    DeviceCall c{DeviceCall::kDraw, type, count};
    c.value = static_cast<int32_t>(stride);
    const size_t n = count + 2;  // a triangle strip
    if (stride == sizeof(ScreenVertex)) {
      c.screen_vertices.resize(n);
      std::memcpy(c.screen_vertices.data(), v, n * stride);
    } else if (stride == sizeof(SceneVertex)) {
      c.scene_vertices.resize(n);
      std::memcpy(c.scene_vertices.data(), v, n * stride);
    }
    calls.push_back(std::move(c));
  }
  D3DViewport GetViewport() override {
    Keep(DeviceCall::kGetViewport);
    return viewport;
  }
  TextureRef CreateTextureFromFileEx(const std::string& file, const TextureLoadOptions&) override {
    if (fail_texture_load) throw DeviceError("cannot load " + file);
    DeviceCall c{DeviceCall::kLoadTexture};
    c.file = file;
    calls.push_back(std::move(c));
    return std::make_shared<RecordingTexture>(file);
  }

  std::vector<const DeviceCall*> Draws() const {
    std::vector<const DeviceCall*> out;
    for (const auto& c : calls)
      if (c.kind == DeviceCall::kDraw) out.push_back(&c);
    return out;
  }

 private:
  bool keep_ = true;
  // Builds the record only when it is kept: as a benchmark's null device it costs nothing.
  template <typename... Args>
  void Keep(DeviceCall::Kind kind, Args... args) {
    if (keep_) calls.emplace_back(kind, args...);
  }
};

}  // namespace vx
