// OpenGL 3.3 core contexts for the render device: one on an SDL window, one headless (EGL,
// no X server) for off-screen rendering and pixel tests. Kept apart from the device so the
// saver window owns its window and the device owns only what it draws with.
#pragma once

#include <memory>

struct SDL_Window;

namespace vx {

class GlContext {
 public:
  virtual ~GlContext() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual void MakeCurrent() = 0;
  // Shows the window's back buffer; nothing for a headless context.
  virtual void SwapBuffers() = 0;
  // True when the context has a visible default framebuffer to present to.
  virtual bool HasWindow() const = 0;
};

// A context with no window and no X server, through EGL's surfaceless platform. The device
// renders into its own framebuffer object of the given size. Throws DeviceError on failure.
std::unique_ptr<GlContext> CreateHeadlessGlContext(int width, int height);

// A context on an SDL window made with SDL_WINDOW_OPENGL; the window must outlive it.
// Presents without waiting for the vertical retrace when `vsync` is false. Throws DeviceError.
std::unique_ptr<GlContext> CreateSdlGlContext(SDL_Window* window, bool vsync);

}  // namespace vx
