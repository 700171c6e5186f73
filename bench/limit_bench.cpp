// How close the OpenGL device comes to what the renderer can do for the same picture. Records
// one steady-state frame of the saver (defaults, seed 1, after 30 simulated seconds) at the
// given size, then replays exactly that frame, alternating, through
//   (a) GlDevice, as the saver drives it: the same Device calls in the same order;
//   (b) the simplest GL path that gives the same pixels: one shader with no state uniforms
//       (texture times colour), the frame's vertices uploaded once, one draw per run of
//       unchanged transform, fixed blend and depth states;
// each into a headless framebuffer of the same format. Prints CPU milliseconds per frame
// (the rasteriser's threads included), fragments per frame, the ratio and whether the two
// pictures agree.
//
// With --window, draws (b) alone into a window of the given size on the X display, presenting
// every frame without waiting for the retrace, until it is killed: the synthetic limit that
// bench/side_by_side.sh measures beside the whole saver, swap and X server included. With
// --cap N as well, at most N frames a second, evenly spaced: what the renderer itself costs
// at the saver's own frame rate.
//
//   limit_bench [--size WxH] [--rounds N] [--frames N] [--atlas PNG] [--window [--cap N]]
#define GL_GLEXT_PROTOTYPES
#include <GL/glcorearb.h>
#include <SDL.h>
#include <stb_image.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "core/d3dx_math.h"
#include "core/random.h"
#include "platform/linux/gl_context.h"
#include "platform/linux/gl_device.h"
#include "render/vertices.h"
#include "saver/scene_frame.h"

namespace vx {
namespace {

struct Call {
  enum Kind { kRenderState, kStageState, kTransform, kClear, kVertexShader, kTexture, kDraw };
  explicit Call(Kind kind, uint32_t a = 0, uint32_t b = 0, int32_t value = 0)
      : kind(kind), a(a), b(b), value(value) {}
  Kind kind;
  uint32_t a = 0, b = 0;  // state or type, stage state's type, flags, fvf, primitive type
  int32_t value = 0;      // a state's value; a texture's slot; a clear's colour
  uint32_t count = 0, stride = 0;
  float z = 0;
  D3DMatrix matrix{};
  std::vector<uint8_t> vertices;
};

class FrameTexture final : public Texture {
 public:
  explicit FrameTexture(int slot) : slot(slot) {}
  int slot;
};

// The saver's device as far as a frame needs it; keeps the calls of the frame being recorded.
class Recorder final : public Device {
 public:
  Recorder(int width, int height) : width_(width), height_(height) {}
  bool recording = false;
  std::vector<Call> calls;
  std::vector<std::pair<std::string, TextureLoadOptions>> textures;

  void SetRenderState(uint32_t state, int32_t value) override {
    Keep(Call(Call::kRenderState, state, 0, value));
  }
  void SetTextureStageState(uint32_t stage, uint32_t type, int32_t value) override {
    Keep(Call(Call::kStageState, stage, type, value));
  }
  void SetTransform(uint32_t type, const D3DMatrix& m) override {
    Call c(Call::kTransform, type);
    c.matrix = m;
    Keep(std::move(c));
  }
  void Clear(uint32_t flags, uint32_t colour, float z, uint32_t) override {
    Call c(Call::kClear, flags, 0, static_cast<int32_t>(colour));
    c.z = z;
    Keep(std::move(c));
  }
  void BeginScene() override {}
  void EndScene() override {}
  void Present() override {}
  void SetVertexShader(uint32_t fvf) override { Keep(Call(Call::kVertexShader, fvf)); }
  void SetTexture(uint32_t stage, Texture* t) override {
    const auto* ft = dynamic_cast<FrameTexture*>(t);
    Keep(Call(Call::kTexture, stage, 0, ft ? ft->slot : -1));
  }
  void DrawPrimitiveUP(uint32_t type, uint32_t count, const void* v, uint32_t stride) override {
    if (!recording) return;
    Call c(Call::kDraw, type);
    c.count = count;
    c.stride = stride;
    const size_t n = type == D3DPT_TRIANGLELIST ? size_t{count} * 3 : count + 2;
    c.vertices.assign(static_cast<const uint8_t*>(v), static_cast<const uint8_t*>(v) + n * stride);
    calls.push_back(std::move(c));
  }
  D3DViewport GetViewport() override {
    return {0, 0, static_cast<uint32_t>(width_), static_cast<uint32_t>(height_), 0, 1};
  }
  TextureRef CreateTextureFromFileEx(const std::string& file,
                                     const TextureLoadOptions& options) override {
    textures.emplace_back(file, options);
    return std::make_shared<FrameTexture>(static_cast<int>(textures.size()) - 1);
  }
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  RgbaImage ReadLastFrame() override { return {}; }
  FrameCounts LastFrameCounts() const override { return {}; }

 private:
  // Before the recorded frame only the states it starts with matter: each state's last
  // setting is kept, in place of the ones before it.
  void Keep(Call c) {
    if (recording) {
      calls.push_back(std::move(c));
      return;
    }
    if (c.kind == Call::kDraw) return;
    const uint64_t key = uint64_t{c.kind} << 48 | uint64_t{c.a} << 24 | c.b;
    if (const auto it = latest_.find(key); it != latest_.end()) {
      calls[it->second] = std::move(c);
    } else {
      latest_[key] = calls.size();
      calls.push_back(std::move(c));
    }
  }
  int width_, height_;
  std::map<uint64_t, size_t> latest_;
};

double CpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// (a): the recorded calls, replayed on the saver's device.
class DeviceReplay {
 public:
  DeviceReplay(const Recorder& recorder, int width, int height)
      : context_(CreateHeadlessGlContext(width, height)), device_(*context_, GlDeviceOptions{}) {
    for (const auto& [file, options] : recorder.textures)
      textures_.push_back(device_.CreateTextureFromFileEx(file, options));
    // The recorded frame begins at the last Clear; what went before leaves the states,
    // transforms and texture the frame starts with.
    begin_ = recorder.calls.size();
    while (begin_ > 0 && recorder.calls[begin_ - 1].kind != Call::kClear) --begin_;
    if (begin_ == 0) throw std::runtime_error("no frame was recorded");
    --begin_;
    for (size_t i = 0; i < begin_; ++i) Apply(recorder.calls[i]);
    calls_ = &recorder.calls;
  }
  void MakeCurrent() { context_->MakeCurrent(); }
  void Frame() {
    context_->MakeCurrent();
    for (size_t i = begin_; i < calls_->size(); ++i) Apply((*calls_)[i]);
    device_.EndScene();
    device_.Present();
    device_.Finish();
  }
  RgbaImage Pixels() { return device_.ReadPixels(); }

 private:
  void Apply(const Call& c) {
    switch (c.kind) {
      case Call::kRenderState:
        device_.SetRenderState(c.a, c.value);
        break;
      case Call::kStageState:
        device_.SetTextureStageState(c.a, c.b, c.value);
        break;
      case Call::kTransform:
        device_.SetTransform(c.a, c.matrix);
        break;
      case Call::kClear:
        device_.Clear(c.a, static_cast<uint32_t>(c.value), c.z, 0);
        device_.BeginScene();
        break;
      case Call::kVertexShader:
        device_.SetVertexShader(c.a);
        break;
      case Call::kTexture:
        device_.SetTexture(c.a,
                           c.value >= 0 ? textures_[static_cast<size_t>(c.value)].get() : nullptr);
        break;
      case Call::kDraw:
        device_.DrawPrimitiveUP(c.a, c.count, c.vertices.data(), c.stride);
        break;
    }
  }
  std::unique_ptr<GlContext> context_;
  GlDevice device_;
  std::vector<TextureRef> textures_;
  const std::vector<Call>* calls_ = nullptr;
  size_t begin_ = 0;
};

GLuint Compile(GLenum kind, const char* source) {
  const GLuint shader = glCreateShader(kind);
  glShaderSource(shader, 1, &source, nullptr);
  glCompileShader(shader);
  GLint ok = 0;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
  if (!ok) throw std::runtime_error("shader does not compile");
  return shader;
}

// (b): the same frame the plainest way: every scene triangle in one buffer uploaded once,
// one draw per run of one world-view-projection, one texture, texture times diffuse. Into a
// framebuffer of its own on a headless context, or into the window of a window's context.
class PlainReplay {
 public:
  PlainReplay(const Recorder& recorder, std::unique_ptr<GlContext> context,
              const std::string& atlas)
      : context_(std::move(context)), width_(context_->Width()), height_(context_->Height()) {
    context_->MakeCurrent();
    if (!context_->HasWindow()) BuildFramebuffer();
    SetFixedStates();
    BuildProgram();
    LoadAtlas(atlas);
    BuildRuns(recorder);
  }
  void MakeCurrent() { context_->MakeCurrent(); }
  void Frame() {
    context_->MakeCurrent();
    glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glBindVertexArray(vao_);
    for (const Run& run : runs_) {
      glUniformMatrix4fv(wvp_location_, 1, GL_FALSE, &run.wvp.m[0][0]);
      glDrawArrays(GL_TRIANGLES, run.first, run.count);
    }
    if (context_->HasWindow()) {
      context_->SwapBuffers();
    } else {
      glFinish();
    }
  }
  RgbaImage Pixels() {
    RgbaImage image{width_, height_, std::vector<uint8_t>(size_t(width_) * height_ * 4)};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, image.pixels.data());
    return image;
  }
  size_t Triangles() const { return triangles_; }

 private:
  struct Run {
    D3DMatrix wvp;
    GLint first;
    GLsizei count;
  };

  void BuildFramebuffer() {
    GLuint rb[2];
    glGenRenderbuffers(2, rb);
    glBindRenderbuffer(GL_RENDERBUFFER, rb[0]);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width_, height_);
    glBindRenderbuffer(GL_RENDERBUFFER, rb[1]);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT16, width_, height_);
    glGenFramebuffers(1, &fbo_);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, rb[0]);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, rb[1]);
  }

  void SetFixedStates() {
    glViewport(0, 0, width_, height_);
    glClearColor(0, 0, 0, 1);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  }

  void BuildProgram() {
    // The device's conventions (Direct3D's pixel centres and depth range, rows top-first in
    // a framebuffer of our own, bottom-first in a window), so the pixels can be compared.
    const std::string vs = std::string("#version 330 core\n#define Y_SIGN ") +
                           (context_->HasWindow() ? "-1.0" : "1.0") + R"(
layout(location = 0) in vec3 a_position;
layout(location = 1) in vec4 a_diffuse;
layout(location = 2) in vec2 a_texcoord;
uniform mat4 u_wvp;
uniform vec2 u_size;
out vec4 v_diffuse;
out vec2 v_texcoord;
void main() {
  vec4 clip = u_wvp * vec4(a_position, 1.0);
  clip.y = -clip.y;
  clip.xy += clip.w / u_size;
  clip.z = clip.z * 2.0 - clip.w;
  gl_Position = vec4(clip.x, clip.y * Y_SIGN, clip.zw);
  v_diffuse = a_diffuse;
  v_texcoord = a_texcoord;
})";
    const char* fs = R"(#version 330 core
in vec4 v_diffuse;
in vec2 v_texcoord;
uniform sampler2D u_texture;
out vec4 frag_colour;
void main() { frag_colour = texture(u_texture, v_texcoord) * v_diffuse; })";
    const GLuint program = glCreateProgram();
    glAttachShader(program, Compile(GL_VERTEX_SHADER, vs.c_str()));
    glAttachShader(program, Compile(GL_FRAGMENT_SHADER, fs));
    glLinkProgram(program);
    glUseProgram(program);
    wvp_location_ = glGetUniformLocation(program, "u_wvp");
    glUniform2f(glGetUniformLocation(program, "u_size"), float(width_), float(height_));
  }

  void LoadAtlas(const std::string& file) {
    int w = 0, h = 0, n = 0;
    stbi_uc* pixels = stbi_load(file.c_str(), &w, &h, &n, 4);
    if (!pixels) throw std::runtime_error("cannot read " + file);
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    stbi_image_free(pixels);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  }

  void BuildRuns(const Recorder& recorder) {
    D3DMatrix world{}, view{}, projection{};
    D3DXMatrixIdentity(world);
    D3DXMatrixIdentity(view);
    D3DXMatrixIdentity(projection);
    std::vector<SceneVertex> vertices;
    for (const Call& c : recorder.calls) {
      if (c.kind == Call::kTransform) {
        (c.a == D3DTS_WORLD ? world : c.a == D3DTS_VIEW ? view : projection) = c.matrix;
      } else if (c.kind == Call::kDraw) {
        if (c.stride != sizeof(SceneVertex))
          throw std::runtime_error("the frame draws screen vertices: not a steady-state frame");
        D3DMatrix world_view{}, wvp{};
        D3DXMatrixMultiply(world_view, world, view);
        D3DXMatrixMultiply(wvp, world_view, projection);
        if (runs_.empty() || std::memcmp(&runs_.back().wvp, &wvp, sizeof wvp) != 0)
          runs_.push_back({wvp, static_cast<GLint>(vertices.size()), 0});
        const auto* v = reinterpret_cast<const SceneVertex*>(c.vertices.data());
        for (uint32_t i = 0; i < c.count; ++i) {
          uint32_t t[3] = {i, i + 1, i + 2};  // strip; odd triangles keep the winding
          if (c.a == D3DPT_TRIANGLELIST)
            t[0] = 3 * i, t[1] = 3 * i + 1, t[2] = 3 * i + 2;
          else if (i % 2)
            std::swap(t[0], t[1]);
          for (uint32_t k : t) vertices.push_back(v[k]);
        }
        runs_.back().count = static_cast<GLsizei>(vertices.size()) - runs_.back().first;
        triangles_ += c.count;
      }
    }
    GLuint vbo = 0;
    glGenVertexArrays(1, &vao_);
    glBindVertexArray(vao_);
    glGenBuffers(1, &vbo);
    glBindBuffer(GL_ARRAY_BUFFER, vbo);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(vertices.size() * sizeof(SceneVertex)),
                 vertices.data(), GL_STATIC_DRAW);
    const auto at = [](size_t n) { return reinterpret_cast<const void*>(n); };
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, sizeof(SceneVertex), at(0));
    glVertexAttribPointer(1, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, sizeof(SceneVertex),
                          at(offsetof(SceneVertex, diffuse)));
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, sizeof(SceneVertex),
                          at(offsetof(SceneVertex, tu)));
    for (GLuint i = 0; i < 3; ++i) glEnableVertexAttribArray(i);
  }

  std::unique_ptr<GlContext> context_;
  int width_, height_;
  GLuint fbo_ = 0, vao_ = 0;
  GLint wvp_location_ = -1;
  std::vector<Run> runs_;
  size_t triangles_ = 0;
};

// Fragment-shader invocations of one frame, where the driver counts them.
template <typename Replay>
double Fragments(Replay& replay) {
  replay.MakeCurrent();
  GLuint query = 0;
  while (glGetError() != GL_NO_ERROR) {
  }
  glGenQueries(1, &query);
  constexpr GLenum kFragmentShaderInvocations = 0x82F4;
  glBeginQuery(kFragmentShaderInvocations, query);
  if (glGetError() != GL_NO_ERROR) return 0;
  replay.Frame();
  glEndQuery(kFragmentShaderInvocations);
  GLuint64 n = 0;
  glGetQueryObjectui64v(query, GL_QUERY_RESULT, &n);
  glDeleteQueries(1, &query);
  return static_cast<double>(n);
}

// Pixels whose colour differs (alpha aside: the device never writes it).
size_t DifferentPixels(const RgbaImage& a, const RgbaImage& b, int& largest) {
  size_t differ = 0;
  largest = 0;
  for (size_t i = 0; i + 3 < a.pixels.size() && i + 3 < b.pixels.size(); i += 4) {
    int d = 0;
    for (size_t k = 0; k < 3; ++k) d = std::max(d, std::abs(a.pixels[i + k] - b.pixels[i + k]));
    largest = std::max(largest, d);
    differ += d != 0;
  }
  return differ;
}

// The saver's window set-up (a 3.3 core context, double-buffered, 16-bit depth), at 0, 0.
int ShowInWindow(const Recorder& recorder, int width, int height, const std::string& atlas,
                 int cap) {
  if (SDL_Init(SDL_INIT_VIDEO) != 0) throw std::runtime_error(SDL_GetError());
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
  SDL_Window* window = SDL_CreateWindow("limit_bench", 0, 0, width, height,
                                        SDL_WINDOW_OPENGL | SDL_WINDOW_BORDERLESS);
  if (!window) throw std::runtime_error(SDL_GetError());
  PlainReplay plain(recorder, CreateSdlGlContext(window, false), atlas);
  using Clock = std::chrono::steady_clock;
  const auto period = std::chrono::duration_cast<Clock::duration>(
      std::chrono::duration<double>(cap > 0 ? 1.0 / cap : 0.0));
  auto due = Clock::now();
  for (;;) {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
      if (event.type == SDL_QUIT) return 0;
    }
    plain.Frame();
    // Late frames are not made up with a burst: the next one is due a period after now.
    due = std::max(due + period, Clock::now());
    std::this_thread::sleep_until(due);
  }
}

int Run(int argc, char** argv) {
  int width = 1920, height = 1080, rounds = 3, frames = 100, cap = 0;
  std::string atlas = VEXLUM_SOURCE_DIR "/assets/scenery.png";  // the default settings' atlas
  bool window = false;
  for (int i = 1; i < argc; i += 2) {
    if (argv[i] == std::string("--window")) {
      window = true;
      --i;
      continue;
    }
    if (i + 1 >= argc) throw std::runtime_error(std::string(argv[i]) + " needs a value");
    const std::string option = argv[i], value = argv[i + 1];
    if (option == "--size")
      std::sscanf(value.c_str(), "%dx%d", &width, &height);
    else if (option == "--rounds")
      rounds = std::atoi(value.c_str());
    else if (option == "--frames")
      frames = std::atoi(value.c_str());
    else if (option == "--cap")
      cap = std::atoi(value.c_str());
    else if (option == "--atlas")
      atlas = value;
    else
      throw std::runtime_error("unknown option " + option);
  }

  Recorder recorder(width, height);
  MersenneRandom random(1);
  SceneFrame scene(recorder, random, SceneSettings{}, atlas);
  for (int i = 0; i < 1200; ++i) scene.Draw();  // 30 s at 40 frames a second
  recorder.recording = true;
  scene.Draw();
  size_t draws = 0;
  for (const Call& c : recorder.calls) draws += c.kind == Call::kDraw;
  if (window) return ShowInWindow(recorder, width, height, atlas, cap);

  DeviceReplay device(recorder, width, height);
  PlainReplay plain(recorder, CreateHeadlessGlContext(width, height), atlas);
  device.Frame();
  plain.Frame();
  int largest = 0;
  const size_t differ = DifferentPixels(device.Pixels(), plain.Pixels(), largest);
  const double fragments_a = Fragments(device), fragments_b = Fragments(plain);

  double a_seconds = 0, b_seconds = 0;
  // Short turns, the first one's side swapped every round, so a machine that slows down or
  // speeds up meanwhile weighs on both alike.
  const auto time = [](auto& replay, int n) {
    replay.Frame();  // the first frame after a switch warms its caches
    const double t0 = CpuSeconds();
    for (int i = 0; i < n; ++i) replay.Frame();
    return CpuSeconds() - t0;
  };
  for (int r = 0; r < rounds; ++r) {
    double a = 0, b = 0;
    for (int done = 0; done < frames; done += 10) {
      const int n = std::min(10, frames - done);
      if ((r + done / 10) % 2 == 0) {
        a += time(device, n);
        b += time(plain, n);
      } else {
        b += time(plain, n);
        a += time(device, n);
      }
    }
    a_seconds += a;
    b_seconds += b;
    std::fprintf(stderr, "round %d: (a) %.2f ms  (b) %.2f ms\n", r + 1, a * 1e3 / frames,
                 b * 1e3 / frames);
  }
  const double a_ms = a_seconds * 1e3 / (rounds * frames),
               b_ms = b_seconds * 1e3 / (rounds * frames);
  std::printf("frame %dx%d: %zu draws, %zu triangles, %.2f M fragments (a), %.2f M (b)\n", width,
              height, draws, plain.Triangles(), fragments_a / 1e6, fragments_b / 1e6);
  std::printf("(a) GlDevice        %6.2f ms CPU per frame\n", a_ms);
  std::printf("(b) plain GL        %6.2f ms CPU per frame\n", b_ms);
  std::printf("(a)/(b)             %6.3f\n", a_ms / b_ms);
  std::printf("pictures: %zu pixels differ (largest difference %d)\n", differ, largest);
  return 0;
}

}  // namespace
}  // namespace vx

int main(int argc, char** argv) {
  try {
    return vx::Run(argc, argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "limit_bench: %s\n", e.what());
    return 1;
  }
}
