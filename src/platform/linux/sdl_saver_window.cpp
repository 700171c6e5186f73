#include "platform/linux/sdl_saver_window.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <poll.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/linux/posix_termination_signals.h"

namespace vx {
namespace {

int IgnoreXErrors(Display*, XErrorEvent*) {
  return 0;
}

// Windows virtual-key codes for the keys the saver tells apart; every other key gets a code
// that matches neither arrow.
int32_t VirtualKey(SDL_Keycode key) {
  if (key == SDLK_LEFT) return kVkLeft;
  if (key == SDLK_RIGHT) return kVkRight;
  if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
  if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
  return 0xFF;
}

}  // namespace

SdlSaverWindow::SdlSaverWindow(const SaverWindowOptions& o) {
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  // The click that gives the new window focus must end the saver like any other.
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
  // Black covers are filled by X itself, not by a GL context behind the saver's back.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
    throw std::runtime_error(std::string("cannot start the video system: ") + SDL_GetError());

  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);

  if (o.foreign_window) {
    foreign_ = true;
    MakeChildOfHost(o.foreign_window);
    SDL_SetHint(SDL_HINT_VIDEO_FOREIGN_WINDOW_OPENGL, "1");
    window_ = SDL_CreateWindowFrom(reinterpret_cast<const void*>(child_));
  } else if (!o.windowed && o.monitors.size() > 1) {
    MakeMonitorWindows(o);
  } else {
    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
    int w = o.width, h = o.height;
    if (o.windowed) {
      w = o.windowed->first;
      h = o.windowed->second;
    } else {
      flags |= SDL_WINDOW_BORDERLESS | SDL_WINDOW_FULLSCREEN_DESKTOP;
    }
    window_ = SDL_CreateWindow("Vexlum_Main", 0, 0, w, h, flags);
  }
  if (!window_) {
    std::string reason = SDL_GetError();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    throw std::runtime_error("cannot open the saver window: " + reason);
  }
  if (screens_.empty()) screens_.push_back(window_);
  if (o.hide_cursor && !foreign_) SDL_ShowCursor(SDL_DISABLE);
}

void SdlSaverWindow::MakeMonitorWindows(const SaverWindowOptions& o) {
  for (size_t i = 0; i < o.monitors.size(); ++i) {
    const ScreenArea& area = o.monitors[i];
    const bool scene = i == 0 || o.scene_on_every_monitor;
    Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS | (scene ? SDL_WINDOW_OPENGL : 0);
    // Where SDL knows the monitor too, a window manager is asked to make the window full
    // screen there; elsewhere (a server whose RandR outputs are not its monitors) the window
    // is simply laid over the monitor.
    for (int d = 0; d < SDL_GetNumVideoDisplays(); ++d) {
      SDL_Rect bounds;
      if (SDL_GetDisplayBounds(d, &bounds) == 0 && bounds.x == area.x && bounds.y == area.y &&
          bounds.w == area.width && bounds.h == area.height)
        flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    }
    // Only the main window carries the caption another saver looks for.
    SDL_Window* window = SDL_CreateWindow(i == 0 ? "Vexlum_Main" : "Vexlum_Screen", area.x, area.y,
                                          area.width, area.height, flags);
    if (!window) {
      if (i == 0) return;  // the caller says why
      continue;            // that monitor stays as it is; the saver runs on the others
    }
    if (i == 0) window_ = window;
    (scene ? screens_ : covers_).push_back(window);
  }
}

void SdlSaverWindow::PaintCover(SDL_Window* cover) {
  if (SDL_Surface* surface = SDL_GetWindowSurface(cover)) {
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
    SDL_UpdateWindowSurface(cover);
  }
}

bool SdlSaverWindow::IsCover(uint32_t window_id) const {
  for (SDL_Window* cover : covers_)
    if (SDL_GetWindowID(cover) == window_id) return true;
  return false;
}

SdlSaverWindow::~SdlSaverWindow() {
  for (SDL_Window* cover : covers_) SDL_DestroyWindow(cover);
  for (SDL_Window* screen : screens_)
    if (screen != window_) SDL_DestroyWindow(screen);
  if (window_) SDL_DestroyWindow(window_);
  SDL_ShowCursor(SDL_ENABLE);
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  if (display_) {
    auto* d = static_cast<Display*>(display_);
    auto old = XSetErrorHandler(IgnoreXErrors);
    if (child_) XDestroyWindow(d, static_cast<Window>(child_));
    XSync(d, False);
    XSetErrorHandler(old);
    XCloseDisplay(d);
  }
}

void SdlSaverWindow::MakeChildOfHost(uint64_t host) {
  auto* d = XOpenDisplay(nullptr);
  if (!d) throw std::runtime_error("cannot open the X display");
  display_ = d;
  auto old = XSetErrorHandler(IgnoreXErrors);
  XWindowAttributes a{};
  const bool ok = XGetWindowAttributes(d, static_cast<Window>(host), &a) != 0;
  XSync(d, False);
  XSetErrorHandler(old);
  if (!ok) throw std::runtime_error("window " + std::to_string(host) + " does not exist");
  host_ = host;
  const unsigned long black = BlackPixel(d, DefaultScreen(d));
  child_ = XCreateSimpleWindow(d, static_cast<Window>(host), 0, 0, static_cast<unsigned>(a.width),
                               static_cast<unsigned>(a.height), 0, black, black);
  XSelectInput(d, static_cast<Window>(host), StructureNotifyMask);
  XMapWindow(d, static_cast<Window>(child_));
  XSync(d, False);
}

std::optional<SaverEvent> SdlSaverWindow::PollHost() {
  auto* d = static_cast<Display*>(display_);
  while (XPending(d)) {
    XEvent e;
    XNextEvent(d, &e);
    if (e.xany.window != static_cast<Window>(host_)) continue;
    if (e.type == DestroyNotify) return SaverEvent{SaverEvent::kQuit, 0};
    if (e.type == ConfigureNotify)
      XResizeWindow(d, static_cast<Window>(child_), static_cast<unsigned>(e.xconfigure.width),
                    static_cast<unsigned>(e.xconfigure.height));
  }
  XFlush(d);
  return std::nullopt;
}

void SdlSaverWindow::ShowTopmost() {
  if (foreign_) return;
  for (SDL_Window* cover : covers_) {
    SDL_ShowWindow(cover);
    SDL_SetWindowAlwaysOnTop(cover, SDL_TRUE);
    PaintCover(cover);
  }
  for (SDL_Window* screen : screens_) {
    SDL_ShowWindow(screen);
    SDL_SetWindowAlwaysOnTop(screen, SDL_TRUE);
  }
  // The main window last, so that it has the keyboard.
  SDL_RaiseWindow(window_);
}

std::optional<SaverEvent> SdlSaverWindow::PollEvent() {
  if (TakeTerminationRequest()) {
    return SaverEvent{SaverEvent::kQuit, 0};
  }
  if (display_)
    if (auto host_event = PollHost()) return host_event;
  SDL_Event e;
  while (SDL_PollEvent(&e)) {
    switch (e.type) {
      case SDL_QUIT:
        return SaverEvent{SaverEvent::kQuit, 0};
      case SDL_KEYDOWN:
        // The host owns input when we draw in its window.
        if (!foreign_) return SaverEvent{SaverEvent::kKey, VirtualKey(e.key.keysym.sym)};
        break;
      case SDL_MOUSEBUTTONDOWN:
        if (!foreign_) return SaverEvent{SaverEvent::kClick, 0};
        break;
      case SDL_WINDOWEVENT:
        // A window manager closing any of our windows ends the saver on every monitor.
        if (e.window.event == SDL_WINDOWEVENT_CLOSE && !foreign_)
          return SaverEvent{SaverEvent::kQuit, 0};
        if (e.window.event == SDL_WINDOWEVENT_EXPOSED && IsCover(e.window.windowID))
          PaintCover(SDL_GetWindowFromID(e.window.windowID));
        break;
      default:  // mouse movement, focus changes and the rest never end the saver
        break;
    }
  }
  return std::nullopt;
}

bool SdlSaverWindow::HostGone() {
  if (!display_) return false;
  auto* d = static_cast<Display*>(display_);
  auto old = XSetErrorHandler(IgnoreXErrors);
  XWindowAttributes a{};
  const bool exists = XGetWindowAttributes(d, static_cast<Window>(host_), &a) != 0;
  XSync(d, False);
  XSetErrorHandler(old);
  return !exists;
}

void SdlSaverWindow::WaitForEvent(uint32_t timeout_ms) {
  if (TerminationRequested()) return;
  if (!display_) {
    // Peek only: the event stays queued for PollEvent.
    SDL_WaitEventTimeout(nullptr, static_cast<int>(timeout_ms));
    return;
  }
  // The host's events come on a connection of our own, which SDL's wait does not watch: wait
  // on both, so that the host taking its window away wakes us at once.
  auto* host = static_cast<Display*>(display_);
  SDL_PumpEvents();
  if (SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0 ||
      XEventsQueued(host, QueuedAfterFlush) > 0)
    return;
  std::vector<pollfd> fds = {{ConnectionNumber(host), POLLIN, 0}};
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(window_, &info) && info.subsystem == SDL_SYSWM_X11)
    fds.push_back({ConnectionNumber(info.info.x11.display), POLLIN, 0});
  poll(fds.data(), fds.size(), static_cast<int>(timeout_ms));  // a signal ends it early too
}

}  // namespace vx
