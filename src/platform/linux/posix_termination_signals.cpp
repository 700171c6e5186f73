#include "platform/linux/posix_termination_signals.h"

#include <signal.h>

#include <csignal>
#include <initializer_list>

namespace vx {
namespace {

volatile std::sig_atomic_t g_quit_requested = 0;

void OnTerminationSignal(int) {
  g_quit_requested = 1;
}

}  // namespace

void InstallTerminationHandlers() {
  struct sigaction sa {};
  sa.sa_handler = OnTerminationSignal;
  sigemptyset(&sa.sa_mask);
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) sigaction(sig, &sa, nullptr);
}

void RequestTermination() {
  g_quit_requested = 1;
}

bool TerminationRequested() {
  return g_quit_requested != 0;
}

bool TakeTerminationRequest() {
  if (!g_quit_requested) return false;
  g_quit_requested = 0;
  return true;
}

}  // namespace vx
