#include "platform/linux/posix_termination_signals.h"

#include <signal.h>
#include <unistd.h>

#include <csignal>
#include <initializer_list>

namespace vx {
namespace {

volatile std::sig_atomic_t g_quit_requested = 0;

// A saver asked to end has this long to end cleanly before SIGALRM's default action ends it
// anyway: a frame stuck in the GL driver must not keep a host's dismissed saver running.
constexpr unsigned kTerminationGraceSeconds = 10;

void OnTerminationSignal(int) {
  g_quit_requested = 1;
  alarm(kTerminationGraceSeconds);
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
