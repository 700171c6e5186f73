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
constexpr uint32_t kPtTriangleList = 4;
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

// Pre-transformed vertices are in Direct3D pixels, whose centres lie on integer coordinates;
// GL's lie on half-integers, hence the half-pixel shift. The framebuffer keeps Direct3D's row
// order (row 0 at the top), so no flip is needed here; Present flips once when showing it.
constexpr char kVertexShader[] = R"(#version 330 core
layout(location = 0) in vec4 a_position;
layout(location = 1) in vec4 a_diffuse;
layout(location = 2) in vec2 a_texcoord;
uniform bool u_pretransformed;
uniform bool u_lighting;
uniform mat4 u_wvp;
uniform vec2 u_size;
out vec4 v_diffuse;
out vec2 v_texcoord;
void main() {
  vec4 clip;
  if (u_pretransformed) {
    float w = a_position.w > 0.0 ? 1.0 / a_position.w : 1.0;
    vec2 ndc = (a_position.xy + 0.5) * 2.0 / u_size - 1.0;
    clip = vec4(ndc, a_position.z * 2.0 - 1.0, 1.0) * w;
  } else {
    clip = u_wvp * vec4(a_position.xyz, 1.0);
    clip.y = -clip.y;                   // Direct3D's screen y grows downward
    clip.xy += clip.w / u_size;         // half a pixel, as above
    clip.z = clip.z * 2.0 - clip.w;     // depth 0..1 to GL's -1..1
  }
  gl_Position = clip;
  // Lighting with no lights and no normals leaves only the (black) ambient term.
  v_diffuse = (u_lighting && !u_pretransformed) ? vec4(0.0, 0.0, 0.0, a_diffuse.a) : a_diffuse;
  v_texcoord = a_texcoord;
}
)";

// Stage 0 of the fixed-function blender: 1 disable, 2 texture, 3 diffuse, 4 texture x diffuse.
constexpr char kFragmentShader[] = R"(#version 330 core
in vec4 v_diffuse;
in vec2 v_texcoord;
uniform sampler2D u_texture;
uniform bool u_use_texture;
uniform int u_colour_op;
uniform int u_alpha_op;
out vec4 frag_colour;
vec4 Combine(int op, vec4 texel, vec4 diffuse) {
  if (op == 2) return texel;
  if (op == 4) return texel * diffuse;
  return diffuse;
}
void main() {
  vec4 texel = u_use_texture ? texture(u_texture, v_texcoord) : vec4(1.0);
  if (u_colour_op == 1) {
    frag_colour = v_diffuse;
  } else {
    frag_colour = vec4(Combine(u_colour_op, texel, v_diffuse).rgb,
                       Combine(u_alpha_op, texel, v_diffuse).a);
  }
}
)";

unsigned CompileShader(GLenum kind, const char* source) {
  const GLuint shader = glCreateShader(kind);
  glShaderSource(shader, 1, &source, nullptr);
  glCompileShader(shader);
  GLint ok = 0;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
  if (!ok) {
    char log[1024] = {};
    glGetShaderInfoLog(shader, sizeof log, nullptr, log);
    glDeleteShader(shader);
    throw DeviceError(std::string("GL shader does not compile: ") + log);
  }
  return shader;
}

std::vector<uint8_t> ReadFileBytes(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw DeviceError("cannot open the texture file " + file);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
  if (in.bad()) throw DeviceError("cannot read the texture file " + file);
  return bytes;
}

}  // namespace

GlDevice::TextureObject::~TextureObject() {
  if (device_alive && *device_alive) glDeleteTextures(1, &name);
}

RgbaImage GlTexture::ReadLevel(int level) const {
  RgbaImage image;
  image.Width = std::max(1, Width() >> level);
  image.Height = std::max(1, Height() >> level);
  image.Pixels.resize(static_cast<size_t>(image.Width) * image.Height * 4);
  GLint previous = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
  glBindTexture(GL_TEXTURE_2D, Name());
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, level, GL_RGBA, GL_UNSIGNED_BYTE, image.Pixels.data());
  glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previous));
  return image;
}

GlDevice::GlDevice(GlContext& context, GlDeviceOptions options)
    : context_(context),
      options_(options),
      width_(context.Width()),
      height_(context.Height()),
      alive_(std::make_shared<bool>(true)) {
  if (width_ <= 0 || height_ <= 0) throw DeviceError("GL: the drawing surface has no size");
  context_.MakeCurrent();

  const GLuint vs = CompileShader(GL_VERTEX_SHADER, kVertexShader);
  GLuint fs = 0;
  try {
    fs = CompileShader(GL_FRAGMENT_SHADER, kFragmentShader);
  } catch (...) {
    glDeleteShader(vs);
    throw;
  }
  program_ = glCreateProgram();
  glAttachShader(program_, vs);
  glAttachShader(program_, fs);
  glLinkProgram(program_);
  glDeleteShader(vs);
  glDeleteShader(fs);
  GLint linked = 0;
  glGetProgramiv(program_, GL_LINK_STATUS, &linked);
  if (!linked) {
    glDeleteProgram(program_);
    throw DeviceError("GL shader program does not link");
  }
  glUseProgram(program_);
  loc_pretransformed_ = glGetUniformLocation(program_, "u_pretransformed");
  loc_lighting_ = glGetUniformLocation(program_, "u_lighting");
  loc_wvp_ = glGetUniformLocation(program_, "u_wvp");
  loc_size_ = glGetUniformLocation(program_, "u_size");
  loc_use_texture_ = glGetUniformLocation(program_, "u_use_texture");
  loc_colour_op_ = glGetUniformLocation(program_, "u_colour_op");
  loc_alpha_op_ = glGetUniformLocation(program_, "u_alpha_op");
  glUniform1i(glGetUniformLocation(program_, "u_texture"), 0);
  glUniform2f(loc_size_, static_cast<float>(width_), static_cast<float>(height_));

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
  glDeleteProgram(program_);
  for (auto& [key, weak] : texture_cache_) {
    if (auto object = weak.lock()) {
      glDeleteTextures(1, &object->name);
      object->name = 0;
    }
  }
  sampler_ = vao_screen_ = vao_scene_ = vbo_ = ibo_ = fbo_ = colour_rb_ = depth_rb_ = 0;
  program_ = 0;
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
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, fbo_);
    glClear(mask);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);
  }
}

void GlDevice::Resize(int width, int height) {
  if (width <= 0 || height <= 0 || (width == width_ && height == height_)) return;
  Flush();
  width_ = width;
  height_ = height;
  glBindRenderbuffer(GL_RENDERBUFFER, colour_rb_);
  glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width_, height_);
  glBindRenderbuffer(GL_RENDERBUFFER, depth_rb_);
  glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT16, width_, height_);
  glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
  glUseProgram(program_);
  glUniform2f(loc_size_, static_cast<float>(width_), static_cast<float>(height_));
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
  if (context_.HasWindow()) {
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
  draw_calls_ = primitives_ = 0;
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
  if (primitive_type != D3DPT_TRIANGLESTRIP && primitive_type != kPtTriangleList &&
      primitive_type != kPtTriangleFan)
    throw DeviceError("DrawPrimitiveUP: unsupported primitive type");
  if (primitive_count == 0) return;
  if (primitive_count > kMaxPendingVertices / 3)
    throw DeviceError("DrawPrimitiveUP: too many primitives in one call");
  if (!vertices) throw DeviceError("DrawPrimitiveUP: no vertices");
  const uint32_t n = primitive_type == kPtTriangleList ? primitive_count * 3 : primitive_count + 2;
  if (pending_fvf_ != fvf_ || pending_vertex_count_ + n > kMaxPendingVertices) Flush();
  pending_fvf_ = fvf_;

  const uint32_t base = pending_vertex_count_;
  const auto* bytes = static_cast<const uint8_t*>(vertices);
  pending_vertices_.insert(pending_vertices_.end(), bytes, bytes + size_t{n} * stride);
  pending_vertex_count_ += n;
  for (uint32_t i = 0; i < primitive_count; ++i) {
    if (primitive_type == kPtTriangleList) {
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
    // Our framebuffer keeps Direct3D's coordinates, so Direct3D's clockwise is GL's
    // counter-clockwise.
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CCW);
    glCullFace(cull == 2 ? GL_FRONT : GL_BACK);
  }
  glUniform1i(loc_lighting_, rs(D3DRS_LIGHTING) != 0);
  glUniform1i(loc_colour_op_, ts(D3DTSS_COLOROP));
  glUniform1i(loc_alpha_op_, ts(D3DTSS_ALPHAOP));

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
  glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
  glUseProgram(program_);
  if (states_dirty_) ApplyStates();
  const bool screen = pending_fvf_ == kFvfScreenVertex;
  glUniform1i(loc_pretransformed_, screen);
  if (!screen && wvp_dirty_) {
    D3DMatrix world_view, wvp;
    D3DXMatrixMultiply(world_view, world_, view_);
    D3DXMatrixMultiply(wvp, world_view, proj_);
    // Direct3D's row-major matrix for row vectors is GL's column-major one for columns.
    glUniformMatrix4fv(loc_wvp_, 1, GL_FALSE, &wvp.m[0][0]);
    wvp_dirty_ = false;
  }
  glBindTexture(GL_TEXTURE_2D, bound_texture_);
  glUniform1i(loc_use_texture_, bound_texture_ != 0);

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
  pending_vertices_.clear();
  pending_indices_.clear();
  pending_vertex_count_ = 0;
  pending_fvf_ = 0;
}

TextureRef GlDevice::CreateTextureFromFileEx(const std::string& file,
                                             const TextureLoadOptions& options) {
  std::vector<uint8_t> bytes = ReadFileBytes(file);
  std::string key = std::to_string(options.Width) + "x" + std::to_string(options.Height) + "/" +
                    std::to_string(options.MipLevels) + "|";
  key.append(bytes.begin(), bytes.end());
  for (auto it = texture_cache_.begin(); it != texture_cache_.end();)
    it = it->second.expired() ? texture_cache_.erase(it) : std::next(it);
  if (auto it = texture_cache_.find(key); it != texture_cache_.end())
    return std::make_shared<GlTexture>(it->second.lock());

  RgbaImage image = DecodeImage(bytes, file);
  // 0 and D3DX_DEFAULT take the file's own size.
  const auto pick = [](uint32_t wanted, int own) {
    return wanted == 0 || wanted == 0xFFFFFFFFu ? own : static_cast<int>(wanted);
  };
  const int w = pick(options.Width, image.Width);
  const int h = pick(options.Height, image.Height);
  if (w <= 0 || h <= 0 || w > 16384 || h > 16384)
    throw DeviceError("texture size out of range for " + file);
  if (w != image.Width || h != image.Height) image = ScaleNearest(image, w, h);
  std::vector<RgbaImage> chain = PointMipChain(std::move(image));
  if (options.MipLevels > 0 && static_cast<size_t>(options.MipLevels) < chain.size())
    chain.resize(static_cast<size_t>(options.MipLevels));

  auto object = std::make_shared<TextureObject>();
  object->width = w;
  object->height = h;
  object->levels = static_cast<int>(chain.size());
  object->device_alive = alive_;
  Flush();  // binding a new texture below must not disturb a pending batch's texture
  glGenTextures(1, &object->name);
  glBindTexture(GL_TEXTURE_2D, object->name);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  for (size_t level = 0; level < chain.size(); ++level) {
    glTexImage2D(GL_TEXTURE_2D, static_cast<GLint>(level), GL_RGBA8, chain[level].Width,
                 chain[level].Height, 0, GL_RGBA, GL_UNSIGNED_BYTE, chain[level].Pixels.data());
  }
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, 0);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, object->levels - 1);
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
  RgbaImage image;
  image.Width = width_;
  image.Height = height_;
  image.Pixels.resize(static_cast<size_t>(width_) * height_ * 4);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, fbo_);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  // Row 0 of our framebuffer is the picture's top row already.
  glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, image.Pixels.data());
  glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
  return image;
}

}  // namespace vx
