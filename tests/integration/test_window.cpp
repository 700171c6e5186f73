// A plain X window for integration tests: a stand-in for another instance or for a host.
// Usage: vexlum_test_window TITLE [WIDTH HEIGHT]. Prints the window id in decimal, then
// stays until killed.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

static volatile std::sig_atomic_t stop = 0;
static void OnSignal(int) {
  stop = 1;
}

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s TITLE [WIDTH HEIGHT]\n", argv[0]);
    return 2;
  }
  unsigned w = argc > 3 ? static_cast<unsigned>(std::atoi(argv[2])) : 200;
  unsigned h = argc > 3 ? static_cast<unsigned>(std::atoi(argv[3])) : 150;
  Display* d = XOpenDisplay(nullptr);
  if (!d) {
    std::fprintf(stderr, "no display\n");
    return 1;
  }
  Window win = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, w, h, 0, 0,
                                   WhitePixel(d, DefaultScreen(d)));
  Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
  Atom net_wm_name = XInternAtom(d, "_NET_WM_NAME", False);
  XChangeProperty(d, win, net_wm_name, utf8, 8, PropModeReplace,
                  reinterpret_cast<unsigned char*>(argv[1]),
                  static_cast<int>(std::strlen(argv[1])));
  XStoreName(d, win, argv[1]);
  XMapWindow(d, win);
  XSync(d, False);
  std::printf("%lu\n", static_cast<unsigned long>(win));
  std::fflush(stdout);
  std::signal(SIGTERM, OnSignal);
  std::signal(SIGINT, OnSignal);
  while (!stop) {
    while (XPending(d)) {
      XEvent e;
      XNextEvent(d, &e);
    }
    usleep(20000);
  }
  XDestroyWindow(d, win);
  XCloseDisplay(d);
  return 0;
}
