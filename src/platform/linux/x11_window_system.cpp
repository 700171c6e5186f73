#include "platform/linux/x11_window_system.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xinerama.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "platform/linux/qt_message_box.h"

namespace vx {
namespace {

Display* D(void* d) {
  return static_cast<Display*>(d);
}

int IgnoreErrors(Display*, XErrorEvent*) {
  return 0;
}

bool HasCaption(Display* d, Window w, std::string_view caption) {
  static const Atom net_wm_name = XInternAtom(d, "_NET_WM_NAME", False);
  for (Atom property : {net_wm_name, static_cast<Atom>(XA_WM_NAME)}) {
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(d, w, property, 0, 1024, False, AnyPropertyType, &type, &format, &count,
                           &after, &data) == Success &&
        data) {
      bool same = format == 8 && std::string_view(reinterpret_cast<char*>(data), count) == caption;
      XFree(data);
      if (same) return true;
    }
  }
  return false;
}

// Top-level windows and, under a window manager, the client windows inside their frames.
bool Search(Display* d, Window parent, std::string_view caption, int depth) {
  Window root_return, parent_return, *children = nullptr;
  unsigned int n = 0;
  if (!XQueryTree(d, parent, &root_return, &parent_return, &children, &n)) return false;
  bool found = false;
  for (unsigned int i = 0; i < n && !found; ++i) {
    found = HasCaption(d, children[i], caption) ||
            (depth > 1 && Search(d, children[i], caption, depth - 1));
  }
  if (children) XFree(children);
  return found;
}

}  // namespace

X11WindowSystem::X11WindowSystem() {
  display_ = XOpenDisplay(nullptr);
  // A busy X server can refuse a connection for a moment; try again before going without.
  for (int i = 0; !display_ && i < 5 && std::getenv("DISPLAY"); ++i) {
    usleep(100000);
    display_ = XOpenDisplay(nullptr);
  }
}

uint64_t X11WindowSystem::RootWindowId() const {
  return display_ ? DefaultRootWindow(D(display_)) : 0;
}

bool X11WindowSystem::WindowExists(uint64_t window) {
  WindowRect rect;
  return GetWindowRect(window, rect);
}

bool X11WindowSystem::ClaimSelection(const std::string& name, uint64_t& owner) {
  if (!display_) return true;
  if (owner) return true;
  Display* d = D(display_);
  const Atom selection = XInternAtom(d, name.c_str(), False);
  XGrabServer(d);
  const bool free = XGetSelectionOwner(d, selection) == None;
  if (free) {
    XSetWindowAttributes none{};
    const Window window = XCreateWindow(d, DefaultRootWindow(d), -1, -1, 1, 1, 0, CopyFromParent,
                                        InputOnly, CopyFromParent, 0, &none);
    XSetSelectionOwner(d, selection, window, CurrentTime);
    owner = window;
  }
  XUngrabServer(d);
  XSync(d, False);
  return free && XGetSelectionOwner(d, selection) == static_cast<Window>(owner);
}

bool X11WindowSystem::SelectionHeldElsewhere(const std::string& name, uint64_t own_owner) {
  if (!display_) return false;
  Display* d = D(display_);
  const Window owner = XGetSelectionOwner(d, XInternAtom(d, name.c_str(), False));
  return owner != None && owner != static_cast<Window>(own_owner);
}

bool X11WindowSystem::ClaimMusic() {
  return ClaimSelection("_VEXLUM_MUSIC", music_owner_);
}

namespace {
std::string InstanceSelection() {
  return "_VEXLUM_INSTANCE_" + std::to_string(getuid());
}
}  // namespace

bool X11WindowSystem::ClaimSingleInstance() {
  return ClaimSelection(InstanceSelection(), instance_owner_);
}

bool X11WindowSystem::SingleInstanceClaimed() {
  return SelectionHeldElsewhere(InstanceSelection(), instance_owner_);
}

X11WindowSystem::~X11WindowSystem() {
  if (display_) XCloseDisplay(D(display_));
}

bool X11WindowSystem::FindWindowByCaption(std::string_view caption) {
  if (!display_) return false;
  // Windows may vanish while we walk the tree; such errors are expected, not fatal.
  auto old = XSetErrorHandler(IgnoreErrors);
  bool found = Search(D(display_), DefaultRootWindow(D(display_)), caption, 3);
  XSync(D(display_), False);
  XSetErrorHandler(old);
  return found;
}

int32_t X11WindowSystem::ShowCursor(bool show) {
  cursor_count_ += show ? 1 : -1;
  return cursor_count_;
}

bool X11WindowSystem::GetWindowRect(WindowHandle window, WindowRect& rect) {
  if (!display_ || window == 0) return false;
  auto old = XSetErrorHandler(IgnoreErrors);
  XWindowAttributes a;
  bool ok = XGetWindowAttributes(D(display_), static_cast<Window>(window), &a) != 0;
  int x = 0, y = 0;
  Window child;
  if (ok)
    ok = XTranslateCoordinates(D(display_), static_cast<Window>(window), a.root, 0, 0, &x, &y,
                               &child) != 0;
  XSync(D(display_), False);
  XSetErrorHandler(old);
  if (!ok) return false;
  rect = {x, y, x + a.width, y + a.height};
  return true;
}

ScreenMetrics X11WindowSystem::Screen() {
  ScreenMetrics m;
  int w = 1280, h = 720;  // without a display the saver renders off-screen at this size
  if (display_) {
    w = DisplayWidth(D(display_), DefaultScreen(D(display_)));
    h = DisplayHeight(D(display_), DefaultScreen(D(display_)));
  }
  m.width_twips = w * 15.0;
  m.height_twips = h * 15.0;
  return m;
}

std::vector<ScreenArea> X11WindowSystem::Monitors() {
  std::vector<ScreenArea> monitors;
  if (!display_) return monitors;
  Display* d = D(display_);
  int event_base = 0, error_base = 0, count = 0;
  if (XineramaQueryExtension(d, &event_base, &error_base) && XineramaIsActive(d)) {
    if (XineramaScreenInfo* heads = XineramaQueryScreens(d, &count)) {
      for (int i = 0; i < count; ++i) {
        const ScreenArea area{heads[i].x_org, heads[i].y_org, heads[i].width, heads[i].height};
        if (area.width > 0 && area.height > 0 &&
            std::find(monitors.begin(), monitors.end(), area) == monitors.end())
          monitors.push_back(area);
      }
      XFree(heads);
    }
  }
  if (monitors.empty())
    monitors.push_back(
        {0, 0, DisplayWidth(d, DefaultScreen(d)), DisplayHeight(d, DefaultScreen(d))});
  return monitors;
}

void X11WindowSystem::MessageBox(std::string_view text, std::string_view title, uint32_t style) {
  ShowMessageBox(text, title, style, display_ != nullptr && modal_messages_);
}

}  // namespace vx
