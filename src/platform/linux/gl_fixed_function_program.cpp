#include "platform/linux/gl_fixed_function_program.h"

#define GL_GLEXT_PROTOTYPES
#include <GL/glcorearb.h>

#include <string>

#include "ports/device.h"

namespace vx {
namespace {

// Pre-transformed vertices are in Direct3D pixels, whose centres lie on integer coordinates;
// GL's lie on half-integers, hence the half-pixel shift. The device's own framebuffer keeps
// Direct3D's row order (row 0 at the top), and Present flips once when showing it; drawing
// straight into a window, whose rows run bottom-up, flips here instead (u_y_sign -1).
constexpr char kVertexShader[] = R"(#version 330 core
layout(location = 0) in vec4 a_position;
layout(location = 1) in vec4 a_diffuse;
layout(location = 2) in vec2 a_texcoord;
uniform bool u_pretransformed;
uniform bool u_lighting;
uniform mat4 u_wvp;
uniform vec2 u_size;
uniform float u_y_sign;
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
  gl_Position = vec4(clip.x, clip.y * u_y_sign, clip.zw);
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

}  // namespace

GlFixedFunctionProgram::GlFixedFunctionProgram() {
  const GLuint vs = CompileShader(GL_VERTEX_SHADER, kVertexShader);
  GLuint fs = 0;
  try {
    fs = CompileShader(GL_FRAGMENT_SHADER, kFragmentShader);
  } catch (...) {
    glDeleteShader(vs);
    throw;
  }
  name_ = glCreateProgram();
  glAttachShader(name_, vs);
  glAttachShader(name_, fs);
  glLinkProgram(name_);
  glDeleteShader(vs);
  glDeleteShader(fs);
  GLint linked = 0;
  glGetProgramiv(name_, GL_LINK_STATUS, &linked);
  if (!linked) {
    glDeleteProgram(name_);
    throw DeviceError("GL shader program does not link");
  }
  glUseProgram(name_);
  pretransformed_location_ = glGetUniformLocation(name_, "u_pretransformed");
  lighting_location_ = glGetUniformLocation(name_, "u_lighting");
  wvp_location_ = glGetUniformLocation(name_, "u_wvp");
  size_location_ = glGetUniformLocation(name_, "u_size");
  y_sign_location_ = glGetUniformLocation(name_, "u_y_sign");
  glUniform1f(y_sign_location_, 1.0f);
  use_texture_location_ = glGetUniformLocation(name_, "u_use_texture");
  colour_op_location_ = glGetUniformLocation(name_, "u_colour_op");
  alpha_op_location_ = glGetUniformLocation(name_, "u_alpha_op");
  glUniform1i(glGetUniformLocation(name_, "u_texture"), 0);
}

GlFixedFunctionProgram::~GlFixedFunctionProgram() {
  if (name_ != 0) Release();
}

void GlFixedFunctionProgram::Release() {
  glDeleteProgram(name_);
  name_ = 0;
}

void GlFixedFunctionProgram::Use() const {
  glUseProgram(name_);
}

void GlFixedFunctionProgram::SetSurfaceSize(int width, int height) const {
  glUniform2f(size_location_, static_cast<float>(width), static_cast<float>(height));
}

void GlFixedFunctionProgram::SetRowsBottomUp(bool bottom_up) const {
  glUniform1f(y_sign_location_, bottom_up ? -1.0f : 1.0f);
}

void GlFixedFunctionProgram::SetPretransformed(bool pretransformed) const {
  glUniform1i(pretransformed_location_, pretransformed);
}

void GlFixedFunctionProgram::SetLighting(bool lighting) const {
  glUniform1i(lighting_location_, lighting);
}

void GlFixedFunctionProgram::SetWorldViewProjection(const D3DMatrix& wvp) const {
  // Direct3D's row-major matrix for row vectors is GL's column-major one for columns.
  glUniformMatrix4fv(wvp_location_, 1, GL_FALSE, &wvp.m[0][0]);
}

void GlFixedFunctionProgram::SetUseTexture(bool use_texture) const {
  glUniform1i(use_texture_location_, use_texture);
}

void GlFixedFunctionProgram::SetColourOp(int colour_op) const {
  glUniform1i(colour_op_location_, colour_op);
}

void GlFixedFunctionProgram::SetAlphaOp(int alpha_op) const {
  glUniform1i(alpha_op_location_, alpha_op);
}

}  // namespace vx
