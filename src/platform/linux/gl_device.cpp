#include "platform/linux/gl_device.h"

#define GL_GLEXT_PROTOTYPES
#include <GL/glcorearb.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

#include "core/d3dx_math.h"

namespace vx {
namespace {

// States the saver leaves at their defaults but the device must still honour.
constexpr uint32_t kRsZWriteEnable = 14;
constexpr uint32_t kRsZFunc = 23;
constexpr uint32_t kTssAddressU = 13;
constexpr uint32_t kTssAddressV = 14;
constexpr uint32_t kTssMipFilter = 18;
constexpr uint32_t kPtTriangleFan = 6;
constexpr size_t kMaxPendingVertices = 1u << 20;  // bounds the batch's memory

// Direct3D's defaults for every state the device interprets.
int32_t DefaultRenderState(uint32_t state) {
  switch (state) {
    case D3DRS_ZENABLE:
      return 1;  // with an automatic depth buffer
    case kRsZWriteEnable:
      return 1;
    case kRsZFunc:
      return 4;  // D3DCMP_LESSEQUAL
    case D3DRS_SRCBLEND:
      return 2;  // ONE
    case D3DRS_DESTBLEND:
      return 1;  // ZERO
    case D3DRS_CULLMODE:
      return 3;  // CCW
    case D3DRS_ALPHABLENDENABLE:
      return 0;
    case D3DRS_LIGHTING:
      return 1;
    default:
      return 0;
  }
}

int32_t DefaultStageState(uint32_t type) {
  switch (type) {
    case D3DTSS_COLOROP:
      return D3DTOP_MODULATE;
    case D3DTSS_ALPHAOP:
      return 2;  // SELECTARG1: the texture's alpha
    case D3DTSS_MAGFILTER:
      return D3DTEXF_POINT;
    case D3DTSS_MINFILTER:
      return D3DTEXF_POINT;
    case kTssMipFilter:
      return 0;  // none
    case kTssAddressU:
      return 1;  // wrap
    case kTssAddressV:
      return 1;
    default:
      return 0;
  }
}

GLenum BlendFactor(int32_t d3d) {
  switch (d3d) {
    case 1:
      return GL_ZERO;
    case 2:
      return GL_ONE;
    case 3:
      return GL_SRC_COLOR;
    case 4:
      return GL_ONE_MINUS_SRC_COLOR;
    case 5:
      return GL_SRC_ALPHA;
    case 6:
      return GL_ONE_MINUS_SRC_ALPHA;
    case 7:
      return GL_DST_ALPHA;
    case 8:
      return GL_ONE_MINUS_DST_ALPHA;
    case 9:
      return GL_DST_COLOR;
    case 10:
      return GL_ONE_MINUS_DST_COLOR;
    default:
      return GL_ONE;
  }
}

GLenum CompareFunc(int32_t d3d) {
  static const GLenum kFuncs[] = {GL_NEVER,   GL_LESS,     GL_EQUAL,  GL_LEQUAL,
                                  GL_GREATER, GL_NOTEQUAL, GL_GEQUAL, GL_ALWAYS};
  return d3d >= 1 && d3d <= 8 ? kFuncs[d3d - 1] : GL_LEQUAL;
}

GLenum AddressMode(int32_t d3d) {
  switch (d3d) {
    case 2:
      return GL_MIRRORED_REPEAT;
    case 3:
      return GL_CLAMP_TO_EDGE;
    case 4:
      return GL_CLAMP_TO_BORDER;
    default:
      return GL_REPEAT;
  }
}

uint32_t VertexSize(uint32_t fvf) {
  if (fvf == kFvfScreenVertex) return sizeof(ScreenVertex);
  if (fvf == kFvfSceneVertex) return sizeof(SceneVertex);
  return 0;
}

std::vector<uint8_t> ReadFileBytes(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw DeviceError("cannot open the texture file " + file);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
  if (in.bad()) throw DeviceError("cannot read the texture file " + file);
  return bytes;
}

// The context, made current once its surface is known to have a size: the device's members
// built after it make their GL objects in it.
GlContext& CurrentWithASurface(GlContext& context, int width, int height) {
  if (width <= 0 || height <= 0) throw DeviceError("GL: the drawing surface has no size");
  context.MakeCurrent();
  return context;
}

}  // namespace

GlDevice::GlDevice(GlContext& context, GlDeviceOptions options)
    : width_(context.Width()),
      height_(context.Height()),
      context_(CurrentWithASurface(context, width_, height_)),
      options_(options),
      alive_(std::make_shared<bool>(true)),
      program_() {
  program_.SetSurfaceSize(width_, height_);

  direct_ = options_.draw_into_window && context.HasWindow();
  if (direct_) {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    program_.SetRowsBottomUp(true);
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_DEPTH,
                                          GL_FRAMEBUFFER_ATTACHMENT_DEPTH_SIZE, &depth_bits_);
    if (depth_bits_ == 0) {
      ReleaseGl();
      throw DeviceError("GL: the window has no depth buffer");
    }
  } else {
    // The device's own framebuffer: RGBA8 colour and a 16-bit depth buffer.
    glGenRenderbuffers(1, &colour_rb_);
    glBindRenderbuffer(GL_RENDERBUFFER, colour_rb_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width_, height_);
    glGenRenderbuffers(1, &depth_rb_);
    glBindRenderbuffer(GL_RENDERBUFFER, depth_rb_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT16, width_, height_);
    glGenFramebuffers(1, &fbo_);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour_rb_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth_rb_);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
      ReleaseGl();
      throw DeviceError("GL: the framebuffer is incomplete");
    }
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT,
                                          GL_FRAMEBUFFER_ATTACHMENT_DEPTH_SIZE, &depth_bits_);
  }
  glViewport(0, 0, width_, height_);
  // Start black and opaque, and never let drawing write alpha: the back buffer has none.
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);

  glGenBuffers(1, &vbo_);
  glGenBuffers(1, &ibo_);
  glGenVertexArrays(1, &vao_screen_);
  glGenVertexArrays(1, &vao_scene_);
  glBindBuffer(GL_ARRAY_BUFFER, vbo_);
  // Both vertex formats: position (4 floats pre-transformed, 3 in the scene), the diffuse
  // colour as BGRA bytes, one pair of texture coordinates.
  const auto layout = [this](GLuint vao, GLint position_size, GLsizei stride, size_t diffuse_offset,
                             size_t tu_offset) {
    const auto offset = [](size_t n) { return reinterpret_cast<const void*>(n); };
    glBindVertexArray(vao);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, ibo_);
    glVertexAttribPointer(0, position_size, GL_FLOAT, GL_FALSE, stride, offset(0));
    glVertexAttribPointer(1, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, stride, offset(diffuse_offset));
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, stride, offset(tu_offset));
    for (GLuint i = 0; i < 3; ++i) glEnableVertexAttribArray(i);
  };
  layout(vao_screen_, 4, sizeof(ScreenVertex), offsetof(ScreenVertex, diffuse),
         offsetof(ScreenVertex, tu));
  layout(vao_scene_, 3, sizeof(SceneVertex), offsetof(SceneVertex, diffuse),
         offsetof(SceneVertex, tu));
  glBindVertexArray(0);

  glGenSamplers(1, &sampler_);
  glBindSampler(0, sampler_);
  glActiveTexture(GL_TEXTURE0);

  D3DXMatrixIdentity(world_);
  D3DXMatrixIdentity(view_);
  D3DXMatrixIdentity(proj_);
}

GlDevice::~GlDevice() {
  *alive_ = false;
  context_.MakeCurrent();
  ReleaseGl();
}

void GlDevice::ReleaseGl() {
  glDeleteSamplers(1, &sampler_);
  glDeleteVertexArrays(1, &vao_screen_);
  glDeleteVertexArrays(1, &vao_scene_);
  glDeleteBuffers(1, &vbo_);
  glDeleteBuffers(1, &ibo_);
  glDeleteFramebuffers(1, &fbo_);
  glDeleteRenderbuffers(1, &colour_rb_);
  glDeleteRenderbuffers(1, &depth_rb_);
  program_.Release();
  for (auto& [key, weak] : texture_cache_) {
    if (auto object = weak.lock()) {
      glDeleteTextures(1, &object->name);
      object->name = 0;
    }
  }
  sampler_ = vao_screen_ = vao_scene_ = vbo_ = ibo_ = fbo_ = colour_rb_ = depth_rb_ = 0;
  texture_cache_.clear();
}

void GlDevice::SetRenderState(uint32_t state, int32_t value) {
  auto it = render_states_.find(state);
  const int32_t old = it == render_states_.end() ? DefaultRenderState(state) : it->second;
  if (old == value && it != render_states_.end()) return;
  if (old != value) Flush();
  render_states_[state] = value;
  states_dirty_ = true;
}

void GlDevice::SetTextureStageState(uint32_t stage, uint32_t type, int32_t value) {
  if (stage != 0) return;  // the saver uses stage 0 alone
  auto it = stage_states_.find(type);
  const int32_t old = it == stage_states_.end() ? DefaultStageState(type) : it->second;
  if (old == value && it != stage_states_.end()) return;
  if (old != value) Flush();
  stage_states_[type] = value;
  states_dirty_ = true;
}

void GlDevice::SetTransform(uint32_t type, const D3DMatrix& matrix) {
  D3DMatrix* target = type == D3DTS_WORLD        ? &world_
                      : type == D3DTS_VIEW       ? &view_
                      : type == D3DTS_PROJECTION ? &proj_
                                                 : nullptr;
  if (!target || std::memcmp(target, &matrix, sizeof matrix) == 0) return;
  // Screen vertices ignore the transforms, so only pending scene vertices must go first.
  if (pending_fvf_ == kFvfSceneVertex) Flush();
  *target = matrix;
  wvp_dirty_ = true;
}

void GlDevice::Clear(uint32_t flags, uint32_t color, float z, uint32_t /*stencil*/) {
  Flush();
  GLbitfield mask = 0;
  if (flags & D3DCLEAR_TARGET) {
    // The back buffer has no alpha channel (16-bit colour): it reads as opaque.
    glClearColor(static_cast<float>((color >> 16) & 0xFF) / 255.0f,
                 static_cast<float>((color >> 8) & 0xFF) / 255.0f,
                 static_cast<float>(color & 0xFF) / 255.0f, 1.0f);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    mask |= GL_COLOR_BUFFER_BIT;
  }
  if (flags & D3DCLEAR_ZBUFFER) {
    glClearDepth(std::clamp(z, 0.0f, 1.0f));
    glDepthMask(GL_TRUE);  // a clear ignores the depth-write state, as Direct3D's does
    states_dirty_ = true;
    mask |= GL_DEPTH_BUFFER_BIT;
  }
  if (mask) {
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, DrawTarget());
    glClear(mask);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);
  }
}

void GlDevice::Resize(int width, int height) {
  if (width <= 0 || height <= 0 || (width == width_ && height == height_)) return;
  Flush();
  width_ = width;
  height_ = height;
  if (!direct_) {  // a window's own buffers follow the window
    glBindRenderbuffer(GL_RENDERBUFFER, colour_rb_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width_, height_);
    glBindRenderbuffer(GL_RENDERBUFFER, depth_rb_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT16, width_, height_);
  }
  glBindFramebuffer(GL_FRAMEBUFFER, DrawTarget());
  program_.SetSurfaceSize(width_, height_);
  glViewport(0, 0, width_, height_);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);
}

void GlDevice::BeginScene() {}

void GlDevice::EndScene() {
  Flush();
}

void GlDevice::Present() {
  Flush();
  if (direct_) {
    if (options_.keep_last_frame) last_frame_ = ReadTarget();
    context_.SwapBuffers();
  } else if (context_.HasWindow()) {
    glBindFramebuffer(GL_READ_FRAMEBUFFER, fbo_);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    // Our rows are top-first; the window's are bottom-first.
    glBlitFramebuffer(0, 0, width_, height_, 0, height_, width_, 0, GL_COLOR_BUFFER_BIT,
                      GL_NEAREST);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
    context_.SwapBuffers();
  }
  ++stats_.frames;
  stats_.draw_calls_last_frame = draw_calls_;
  stats_.primitives_last_frame = primitives_;
  stats_.triangles_last_frame = triangles_;
  draw_calls_ = primitives_ = triangles_ = 0;
}

void GlDevice::SetVertexShader(uint32_t fvf) {
  if (fvf == fvf_) return;
  if (pending_fvf_ != 0 && pending_fvf_ != fvf) Flush();
  fvf_ = fvf;
}

void GlDevice::SetTexture(uint32_t stage, Texture* texture) {
  if (stage != 0) return;
  const auto* gl = dynamic_cast<GlTexture*>(texture);
  const unsigned name = gl ? gl->Name() : 0;
  // Slots loaded from the same bytes share a name, so switching between them keeps the batch.
  if (name == bound_texture_) return;
  Flush();
  bound_texture_ = name;
}

void GlDevice::DrawPrimitiveUP(uint32_t primitive_type, uint32_t primitive_count,
                               const void* vertices, uint32_t stride) {
  const uint32_t size = VertexSize(fvf_);
  if (size == 0) throw DeviceError("DrawPrimitiveUP: unsupported vertex format");
  if (stride != size) throw DeviceError("DrawPrimitiveUP: the stride does not match the format");
  if (primitive_type != D3DPT_TRIANGLESTRIP && primitive_type != D3DPT_TRIANGLELIST &&
      primitive_type != kPtTriangleFan)
    throw DeviceError("DrawPrimitiveUP: unsupported primitive type");
  if (primitive_count == 0) return;
  if (primitive_count > kMaxPendingVertices / 3)
    throw DeviceError("DrawPrimitiveUP: too many primitives in one call");
  if (!vertices) throw DeviceError("DrawPrimitiveUP: no vertices");
  const uint32_t n =
      primitive_type == D3DPT_TRIANGLELIST ? primitive_count * 3 : primitive_count + 2;
  if (pending_fvf_ != fvf_ || pending_vertex_count_ + n > kMaxPendingVertices) Flush();
  pending_fvf_ = fvf_;

  const uint32_t base = pending_vertex_count_;
  const auto* bytes = static_cast<const uint8_t*>(vertices);
  pending_vertices_.insert(pending_vertices_.end(), bytes, bytes + size_t{n} * stride);
  pending_vertex_count_ += n;
  for (uint32_t i = 0; i < primitive_count; ++i) {
    if (primitive_type == D3DPT_TRIANGLELIST) {
      pending_indices_.insert(pending_indices_.end(),
                              {base + 3 * i, base + 3 * i + 1, base + 3 * i + 2});
    } else if (primitive_type == kPtTriangleFan) {
      pending_indices_.insert(pending_indices_.end(), {base, base + i + 1, base + i + 2});
    } else if (i % 2 == 0) {
      pending_indices_.insert(pending_indices_.end(), {base + i, base + i + 1, base + i + 2});
    } else {  // odd strip triangles are reversed so every triangle keeps the strip's winding
      pending_indices_.insert(pending_indices_.end(), {base + i + 1, base + i, base + i + 2});
    }
  }
  ++primitives_;
  if (!options_.batching) Flush();
}

D3DViewport GlDevice::GetViewport() {
  return {0, 0, static_cast<uint32_t>(width_), static_cast<uint32_t>(height_), 0.0f, 1.0f};
}

void GlDevice::ApplyStates() {
  const auto rs = [&](uint32_t s) {
    auto it = render_states_.find(s);
    return it == render_states_.end() ? DefaultRenderState(s) : it->second;
  };
  const auto ts = [&](uint32_t t) {
    auto it = stage_states_.find(t);
    return it == stage_states_.end() ? DefaultStageState(t) : it->second;
  };
  if (rs(D3DRS_ZENABLE) != 0) {
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(CompareFunc(rs(kRsZFunc)));
    glDepthMask(rs(kRsZWriteEnable) != 0 ? GL_TRUE : GL_FALSE);
  } else {
    glDisable(GL_DEPTH_TEST);  // Direct3D writes no depth either when the test is off
  }
  if (rs(D3DRS_ALPHABLENDENABLE) != 0) {
    glEnable(GL_BLEND);
    glBlendFunc(BlendFactor(rs(D3DRS_SRCBLEND)), BlendFactor(rs(D3DRS_DESTBLEND)));
  } else {
    glDisable(GL_BLEND);
  }
  const int32_t cull = rs(D3DRS_CULLMODE);
  if (cull == D3DCULL_NONE) {
    glDisable(GL_CULL_FACE);
  } else {
    // Our own framebuffer keeps Direct3D's coordinates, so Direct3D's clockwise is GL's
    // counter-clockwise there; a window's rows run the other way, and so does the winding.
    glEnable(GL_CULL_FACE);
    glFrontFace(direct_ ? GL_CW : GL_CCW);
    glCullFace(cull == 2 ? GL_FRONT : GL_BACK);
  }
  program_.SetLighting(rs(D3DRS_LIGHTING) != 0);
  program_.SetColourOp(ts(D3DTSS_COLOROP));
  program_.SetAlphaOp(ts(D3DTSS_ALPHAOP));

  const bool mag_linear = ts(D3DTSS_MAGFILTER) >= D3DTEXF_LINEAR;
  const bool min_linear = ts(D3DTSS_MINFILTER) >= D3DTEXF_LINEAR;
  const int32_t mip = ts(kTssMipFilter);
  GLenum min = min_linear ? GL_LINEAR : GL_NEAREST;
  if (mip == 1) min = min_linear ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
  if (mip >= 2) min = min_linear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
  glSamplerParameteri(sampler_, GL_TEXTURE_MAG_FILTER, mag_linear ? GL_LINEAR : GL_NEAREST);
  glSamplerParameteri(sampler_, GL_TEXTURE_MIN_FILTER, static_cast<GLint>(min));
  glSamplerParameteri(sampler_, GL_TEXTURE_WRAP_S,
                      static_cast<GLint>(AddressMode(ts(kTssAddressU))));
  glSamplerParameteri(sampler_, GL_TEXTURE_WRAP_T,
                      static_cast<GLint>(AddressMode(ts(kTssAddressV))));
  states_dirty_ = false;
}

void GlDevice::Flush() {
  if (pending_indices_.empty()) return;
  glBindFramebuffer(GL_FRAMEBUFFER, DrawTarget());
  if (states_dirty_) ApplyStates();
  const bool screen = pending_fvf_ == kFvfScreenVertex;
  program_.SetPretransformed(screen);
  if (!screen && wvp_dirty_) {
    D3DMatrix world_view, wvp;
    D3DXMatrixMultiply(world_view, world_, view_);
    D3DXMatrixMultiply(wvp, world_view, proj_);
    program_.SetWorldViewProjection(wvp);
    wvp_dirty_ = false;
  }
  glBindTexture(GL_TEXTURE_2D, bound_texture_);
  program_.SetUseTexture(bound_texture_ != 0);
  program_.Use();

  glBindVertexArray(screen ? vao_screen_ : vao_scene_);
  glBindBuffer(GL_ARRAY_BUFFER, vbo_);
  glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(pending_vertices_.size()),
               pending_vertices_.data(), GL_STREAM_DRAW);
  glBufferData(GL_ELEMENT_ARRAY_BUFFER,
               static_cast<GLsizeiptr>(pending_indices_.size() * sizeof(uint32_t)),
               pending_indices_.data(), GL_STREAM_DRAW);
  glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(pending_indices_.size()), GL_UNSIGNED_INT,
                 nullptr);
  glBindVertexArray(0);
  ++draw_calls_;
  triangles_ += static_cast<uint32_t>(pending_indices_.size() / 3);
  pending_vertices_.clear();
  pending_indices_.clear();
  pending_vertex_count_ = 0;
  pending_fvf_ = 0;
}

TextureRef GlDevice::CreateTextureFromFileEx(const std::string& file,
                                             const TextureLoadOptions& options) {
  std::vector<uint8_t> bytes = ReadFileBytes(file);
  std::string key = std::to_string(options.width) + "x" + std::to_string(options.height) + "/" +
                    std::to_string(options.mip_levels) + "|";
  key.append(bytes.begin(), bytes.end());
  for (auto it = texture_cache_.begin(); it != texture_cache_.end();)
    it = it->second.expired() ? texture_cache_.erase(it) : std::next(it);
  if (auto it = texture_cache_.find(key); it != texture_cache_.end())
    return std::make_shared<GlTexture>(it->second.lock());

  const std::vector<RgbaImage> chain = DecodeMipChain(bytes, file, options);
  Flush();  // binding the new texture must not disturb a pending batch's texture
  std::shared_ptr<GlTexture::Object> object = UploadMipChain(chain, alive_);
  glBindTexture(GL_TEXTURE_2D, bound_texture_);
  texture_cache_[std::move(key)] = object;
  return std::make_shared<GlTexture>(std::move(object));
}

void GlDevice::Finish() {
  Flush();
  glFinish();
}

RgbaImage GlDevice::ReadPixels() {
  Flush();
  if (direct_ && options_.keep_last_frame && stats_.frames > 0) return last_frame_;
  return ReadTarget();
}

RgbaImage GlDevice::ReadTarget() {
  RgbaImage image;
  image.width = width_;
  image.height = height_;
  image.pixels.resize(static_cast<size_t>(width_) * height_ * 4);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, DrawTarget());
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, image.pixels.data());
  glBindFramebuffer(GL_FRAMEBUFFER, DrawTarget());
  if (direct_) {  // a window's rows run bottom-up; ours top-down
    const size_t row = static_cast<size_t>(width_) * 4;
    for (int top = 0, bottom = height_ - 1; top < bottom; ++top, --bottom)
      std::swap_ranges(image.pixels.begin() + static_cast<std::ptrdiff_t>(top * row),
                       image.pixels.begin() + static_cast<std::ptrdiff_t>((top + 1) * row),
                       image.pixels.begin() + static_cast<std::ptrdiff_t>(bottom * row));
  }
  return image;
}

}  // namespace vx
