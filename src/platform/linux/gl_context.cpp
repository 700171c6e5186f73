#include "platform/linux/gl_context.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>

#include <string>

#include "ports/device.h"

namespace vx {
namespace {

class HeadlessGlContext final : public GlContext {
 public:
  HeadlessGlContext(EGLDisplay display, EGLContext context, int width, int height)
      : display_(display), context_(context), width_(width), height_(height) {}
  ~HeadlessGlContext() override {
    eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    eglDestroyContext(display_, context_);
    eglTerminate(display_);
  }
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void MakeCurrent() override {
    eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, context_);
  }
  void SwapBuffers() override {}
  bool HasWindow() const override { return false; }

 private:
  EGLDisplay display_;
  EGLContext context_;
  int width_, height_;
};

class SdlGlContext final : public GlContext {
 public:
  SdlGlContext(SDL_Window* window, SDL_GLContext context) : window_(window), context_(context) {}
  ~SdlGlContext() override { SDL_GL_DeleteContext(context_); }
  int Width() const override {
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(window_, &w, &h);
    return w;
  }
  int Height() const override {
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(window_, &w, &h);
    return h;
  }
  void MakeCurrent() override { SDL_GL_MakeCurrent(window_, context_); }
  void SwapBuffers() override { SDL_GL_SwapWindow(window_); }
  bool HasWindow() const override { return true; }

 private:
  SDL_Window* window_;
  SDL_GLContext context_;
};

std::string EglErrorText(const char* what) {
  char buf[64];
  std::snprintf(buf, sizeof buf, " (EGL error 0x%04X)", static_cast<unsigned>(eglGetError()));
  return std::string(what) + buf;
}

}  // namespace

std::unique_ptr<GlContext> CreateHeadlessGlContext(int width, int height) {
  if (width <= 0 || height <= 0) throw DeviceError("headless GL: the size must be positive");
  auto get_platform_display = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
      eglGetProcAddress("eglGetPlatformDisplayEXT"));
  if (!get_platform_display) throw DeviceError("headless GL: EGL has no eglGetPlatformDisplayEXT");
  EGLDisplay display =
      get_platform_display(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
  if (display == EGL_NO_DISPLAY || !eglInitialize(display, nullptr, nullptr))
    throw DeviceError(EglErrorText("headless GL: no surfaceless EGL display"));
  if (!eglBindAPI(EGL_OPENGL_API)) {
    eglTerminate(display);
    throw DeviceError(EglErrorText("headless GL: EGL cannot bind OpenGL"));
  }
  const EGLint config_attributes[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_SURFACE_TYPE,
                                      EGL_PBUFFER_BIT, EGL_NONE};
  EGLConfig config = nullptr;
  EGLint count = 0;
  if (!eglChooseConfig(display, config_attributes, &config, 1, &count) || count == 0)
    config = nullptr;  // EGL_KHR_no_config_context: the context needs no config
  const EGLint context_attributes[] = {EGL_CONTEXT_MAJOR_VERSION,
                                       3,
                                       EGL_CONTEXT_MINOR_VERSION,
                                       3,
                                       EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                       EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT,
                                       EGL_NONE};
  EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, context_attributes);
  if (context == EGL_NO_CONTEXT) {
    const std::string message = EglErrorText("headless GL: no OpenGL 3.3 core context");
    eglTerminate(display);
    throw DeviceError(message);
  }
  if (!eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, context)) {
    const std::string message = EglErrorText("headless GL: the context cannot be made current");
    eglDestroyContext(display, context);
    eglTerminate(display);
    throw DeviceError(message);
  }
  return std::make_unique<HeadlessGlContext>(display, context, width, height);
}

std::unique_ptr<GlContext> CreateSdlGlContext(SDL_Window* window, bool vsync) {
  if (!window) throw DeviceError("GL: no window");
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  // A host may destroy its window, and our child in it, at any moment; SDL making a context
  // for a window that is gone reads a visual that is not there and crashes. With the server
  // held, the window cannot go between the look and the making.
  Display* display = nullptr;
  ::Window x_window = 0;
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11) {
    display = info.info.x11.display;
    x_window = info.info.x11.window;
  }
  if (display) {
    XGrabServer(display);
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, x_window, &attributes)) {
      XUngrabServer(display);
      XFlush(display);
      throw DeviceError("GL: the window is gone");
    }
  }
  SDL_GLContext context = SDL_GL_CreateContext(window);
  if (display) {
    XUngrabServer(display);
    XFlush(display);
  }
  if (!context) throw DeviceError(std::string("GL: cannot create a context: ") + SDL_GetError());
  SDL_GL_MakeCurrent(window, context);
  SDL_GL_SetSwapInterval(vsync ? 1 : 0);
  return std::make_unique<SdlGlContext>(window, context);
}

}  // namespace vx
