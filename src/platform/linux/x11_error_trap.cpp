#include "platform/linux/x11_error_trap.h"

#include <X11/Xlib.h>

#include <atomic>
#include <cstdio>

#include "platform/linux/posix_termination_signals.h"

namespace vx {
namespace {

// Plain numbers, kept for later: the handler makes no request of its own.
struct TrappedError {
  int error_code = 0, request_code = 0;
  unsigned long resource = 0;
};
TrappedError g_first;
std::atomic<bool> g_trapped{false};

int OnXError(Display*, XErrorEvent* e) {
  if (!g_trapped.exchange(true)) g_first = {e->error_code, e->request_code, e->resourceid};
  RequestTermination();
  return 0;
}

}  // namespace

void TrapXErrors() {
  XSetErrorHandler(OnXError);
}

std::string FirstTrappedXError() {
  if (!g_trapped) return {};
  char text[160];
  std::snprintf(text, sizeof text, "X error %d (request %d) on resource 0x%lx", g_first.error_code,
                g_first.request_code, g_first.resource);
  return text;
}

}  // namespace vx
