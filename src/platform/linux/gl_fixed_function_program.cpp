#include "platform/linux/gl_fixed_function_program.h"

#define GL_GLEXT_PROTOTYPES
#include <GL/glcorearb.h>

#include <cstring>
#include <string>

#include "ports/device.h"

namespace vx {
namespace {

// Pre-transformed vertices are in Direct3D pixels, whose centres lie on integer coordinates;
// GL's lie on half-integers, hence the half-pixel shift. The device's own framebuffer keeps
// Direct3D's row order (row 0 at the top), and Present flips once when showing it; drawing
// straight into a window, whose rows run bottom-up, flips here instead (u_y_sign -1).
// Lighting with no lights and no normals leaves only the (black) ambient term.
constexpr char kVertexShader[] = R"(
layout(location = 0) in vec4 a_position;
layout(location = 1) in vec4 a_diffuse;
layout(location = 2) in vec2 a_texcoord;
uniform mat4 u_wvp;
uniform vec2 u_size;
uniform float u_y_sign;
out vec4 v_diffuse;
out vec2 v_texcoord;
void main() {
#if PRETRANSFORMED
  float w = a_position.w > 0.0 ? 1.0 / a_position.w : 1.0;
  vec2 ndc = (a_position.xy + 0.5) * 2.0 / u_size - 1.0;
  vec4 clip = vec4(ndc, a_position.z * 2.0 - 1.0, 1.0) * w;
#else
  vec4 clip = u_wvp * vec4(a_position.xyz, 1.0);
  clip.y = -clip.y;                   // Direct3D's screen y grows downward
  clip.xy += clip.w / u_size;         // half a pixel, as above
  clip.z = clip.z * 2.0 - clip.w;     // depth 0..1 to GL's -1..1
#endif
  gl_Position = vec4(clip.x, clip.y * u_y_sign, clip.zw);
#if LIGHTING
  v_diffuse = vec4(0.0, 0.0, 0.0, a_diffuse.a);
#else
  v_diffuse = a_diffuse;
#endif
  v_texcoord = a_texcoord;
}
)";

// Stage 0 of the fixed-function blender. COLOUR: 0 disable (the diffuse colour and alpha as
// they come), 1 texture, 2 texture x diffuse, 3 diffuse; ALPHA: 1, 2, 3 likewise.
constexpr char kFragmentShader[] = R"(
in vec4 v_diffuse;
in vec2 v_texcoord;
uniform sampler2D u_texture;
out vec4 frag_colour;
#define COMBINE(op, texel, diffuse) ((op) == 1 ? (texel) : (op) == 2 ? (texel) * (diffuse) : (diffuse))
void main() {
#if USE_TEXTURE
  vec4 texel = texture(u_texture, v_texcoord);
#else
  vec4 texel = vec4(1.0);
#endif
#if COLOUR == 0
  frag_colour = v_diffuse;
#else
  frag_colour = vec4(COMBINE(COLOUR, texel, v_diffuse).rgb, COMBINE(ALPHA, texel, v_diffuse).a);
#endif
}
)";

// A blending operation's class: 1 the texture, 2 texture x diffuse, 3 the diffuse alone.
uint32_t OperationClass(int op) {
  if (op == 2) return 1;  // D3DTOP_SELECTARG1: the texture
  if (op == 4) return 2;  // D3DTOP_MODULATE
  return 3;
}

unsigned CompileShader(GLenum kind, const std::string& defines, const char* source) {
  const GLuint shader = glCreateShader(kind);
  const std::string header = "#version 330 core\n" + defines;
  const char* parts[] = {header.c_str(), source};
  glShaderSource(shader, 2, parts, nullptr);
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

}  // namespace

GlFixedFunctionProgram::GlFixedFunctionProgram() {
  Use();
}

GlFixedFunctionProgram::~GlFixedFunctionProgram() {
  if (!variants_.empty()) Release();
}

void GlFixedFunctionProgram::Release() {
  for (const Variant& variant : variants_) glDeleteProgram(variant.name);
  variants_.clear();
  in_use_ = nullptr;
}

uint32_t GlFixedFunctionProgram::Key() const {
  const uint32_t colour = colour_op_ == 1 ? 0 : OperationClass(colour_op_);
  const uint32_t alpha = colour == 0 ? 0 : OperationClass(alpha_op_);
  const bool texture = use_texture_ && (colour == 1 || colour == 2 || alpha == 1 || alpha == 2);
  return (pretransformed_ ? 1u : 0u) | (lighting_ && !pretransformed_ ? 2u : 0u) |
         (texture ? 4u : 0u) | colour << 3 | alpha << 5;
}

GlFixedFunctionProgram::Variant& GlFixedFunctionProgram::Compile(uint32_t key) {
  const std::string defines = "#define PRETRANSFORMED " + std::to_string(key & 1) +
                              "\n#define LIGHTING " + std::to_string((key >> 1) & 1) +
                              "\n#define USE_TEXTURE " + std::to_string((key >> 2) & 1) +
                              "\n#define COLOUR " + std::to_string((key >> 3) & 3) +
                              "\n#define ALPHA " + std::to_string((key >> 5) & 3) + "\n";
  const GLuint vs = CompileShader(GL_VERTEX_SHADER, defines, kVertexShader);
  GLuint fs = 0;
  try {
    fs = CompileShader(GL_FRAGMENT_SHADER, defines, kFragmentShader);
  } catch (...) {
    glDeleteShader(vs);
    throw;
  }
  Variant variant;
  variant.key = key;
  variant.name = glCreateProgram();
  glAttachShader(variant.name, vs);
  glAttachShader(variant.name, fs);
  glLinkProgram(variant.name);
  glDeleteShader(vs);
  glDeleteShader(fs);
  GLint linked = 0;
  glGetProgramiv(variant.name, GL_LINK_STATUS, &linked);
  if (!linked) {
    glDeleteProgram(variant.name);
    throw DeviceError("GL shader program does not link");
  }
  glUseProgram(variant.name);
  variant.wvp_location = glGetUniformLocation(variant.name, "u_wvp");
  variant.size_location = glGetUniformLocation(variant.name, "u_size");
  variant.y_sign_location = glGetUniformLocation(variant.name, "u_y_sign");
  glUniform1i(glGetUniformLocation(variant.name, "u_texture"), 0);
  in_use_ = nullptr;  // the vector may move its elements
  variants_.push_back(variant);
  return variants_.back();
}

void GlFixedFunctionProgram::Use() {
  const uint32_t key = Key();
  Variant* variant = nullptr;
  for (Variant& v : variants_)
    if (v.key == key) variant = &v;
  if (!variant) variant = &Compile(key);
  if (variant != in_use_) glUseProgram(variant->name);
  in_use_ = variant;
  if (variant->values_seen != values_version_) {
    // Direct3D's row-major matrix for row vectors is GL's column-major one for columns.
    glUniformMatrix4fv(variant->wvp_location, 1, GL_FALSE, wvp_.data());
    glUniform2f(variant->size_location, width_, height_);
    glUniform1f(variant->y_sign_location, y_sign_);
    variant->values_seen = values_version_;
  }
}

void GlFixedFunctionProgram::SetSurfaceSize(int width, int height) {
  width_ = static_cast<float>(width);
  height_ = static_cast<float>(height);
  ++values_version_;
}

void GlFixedFunctionProgram::SetRowsBottomUp(bool bottom_up) {
  y_sign_ = bottom_up ? -1.0f : 1.0f;
  ++values_version_;
}

void GlFixedFunctionProgram::SetWorldViewProjection(const D3DMatrix& wvp) {
  std::memcpy(wvp_.data(), &wvp.m[0][0], sizeof wvp_);
  ++values_version_;
}

}  // namespace vx
