#include "platform/linux/x11_preview.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <stb_image.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "core/console.h"

extern const unsigned char kPreviewJpeg[];
extern const unsigned long kPreviewJpegSize;

namespace vx {
namespace {

volatile std::sig_atomic_t g_stop = 0;
bool g_host_gone = false;
void OnSignal(int) {
  g_stop = 1;
}

// The host may vanish at any moment; an error about a window means it has.
int OnXError(Display*, XErrorEvent* e) {
  if (e->error_code == BadWindow || e->error_code == BadDrawable) g_host_gone = true;
  return 0;
}

int Shift(unsigned long mask) {
  int s = 0;
  while (mask && !(mask & 1)) mask >>= 1, ++s;
  return s;
}

// The picture as an XImage in the window's visual (24- or 32-bit true colour).
XImage* MakeImage(Display* d, Visual* visual, int depth) {
  int w = 0, h = 0, n = 0;
  unsigned char* rgb =
      stbi_load_from_memory(kPreviewJpeg, static_cast<int>(kPreviewJpegSize), &w, &h, &n, 3);
  if (!rgb) return nullptr;
  auto* pixels = static_cast<uint32_t*>(std::malloc(static_cast<size_t>(w) * h * 4));
  const int rs = Shift(visual->red_mask), gs = Shift(visual->green_mask),
            bs = Shift(visual->blue_mask);
  for (int i = 0; i < w * h; ++i)
    pixels[i] = (static_cast<uint32_t>(rgb[i * 3]) << rs) |
                (static_cast<uint32_t>(rgb[i * 3 + 1]) << gs) |
                (static_cast<uint32_t>(rgb[i * 3 + 2]) << bs);
  stbi_image_free(rgb);
  XImage* img = XCreateImage(d, visual, static_cast<unsigned>(depth), ZPixmap, 0,
                             reinterpret_cast<char*>(pixels), static_cast<unsigned>(w),
                             static_cast<unsigned>(h), 32, 0);
  if (!img) std::free(pixels);
  return img;
}

}  // namespace

int RunX11Preview(uint64_t host_id) {
  Display* d = XOpenDisplay(nullptr);
  if (!d) {
    SayLine(std::cerr, "the preview needs an X display");
    return 1;
  }
  XSetErrorHandler(OnXError);
  const Window host = static_cast<Window>(host_id);
  XWindowAttributes ha;
  if (host_id == 0 || !XGetWindowAttributes(d, host, &ha) || g_host_gone) {
    SayLine(std::cerr, std::to_string(host_id) + " is not a window; no preview shown");
    XCloseDisplay(d);
    return 1;
  }
  const PreviewGeometry g = ComputePreviewGeometry({0, 0, ha.width, ha.height}, 15.0f, 15.0f);
  const auto width = static_cast<unsigned>(std::max(1.0f, g.image_width));
  const auto height = static_cast<unsigned>(std::max(1.0f, g.image_height));

  XSelectInput(d, host, StructureNotifyMask);
  const unsigned long black = BlackPixel(d, DefaultScreen(d));
  Window win = XCreateSimpleWindow(d, host, 0, 0, width, height, 0, black, black);
  XStoreName(d, win, kPreviewCaption);
  XSelectInput(d, win, ExposureMask | StructureNotifyMask);
  XMapWindow(d, win);
  XSync(d, False);
  if (g_host_gone) {
    XCloseDisplay(d);
    return 1;
  }

  XWindowAttributes wa;
  XGetWindowAttributes(d, win, &wa);
  XImage* image = MakeImage(d, wa.visual, wa.depth);
  GC gc = XCreateGC(d, win, 0, nullptr);

  struct sigaction sa {};
  sa.sa_handler = OnSignal;
  sigemptyset(&sa.sa_mask);
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) sigaction(sig, &sa, nullptr);

  bool alive = true;
  while (alive && !g_stop && !g_host_gone) {
    // Sleep until the server has something for us; wake now and then for signals.
    if (!XPending(d)) {
      pollfd p{ConnectionNumber(d), POLLIN, 0};
      poll(&p, 1, 250);
      if (!XPending(d)) {
        XSync(d, False);  // notices a broken connection or an error about the host
        continue;
      }
    }
    XEvent e;
    XNextEvent(d, &e);
    switch (e.type) {
      case Expose:
        if (image && e.xexpose.count == 0)
          XPutImage(d, win, gc, image, 0, 0, 0, 0, static_cast<unsigned>(image->width),
                    static_cast<unsigned>(image->height));
        break;
      case DestroyNotify:
        if (e.xdestroywindow.window == host || e.xdestroywindow.window == win) alive = false;
        break;
      default:
        break;
    }
  }
  if (image) XDestroyImage(image);
  XFreeGC(d, gc);
  if (!g_host_gone && alive) XDestroyWindow(d, win);
  XCloseDisplay(d);
  return 0;
}

}  // namespace vx
