// SIGTERM, SIGINT and SIGHUP become a quit request that the saver window reports on the loop's
// thread, so the saver ends as a key would end it (music stopped, files deleted); a saver
// that has not ended ten seconds after the signal is ended by SIGALRM.
#pragma once

namespace vx {

void InstallTerminationHandlers();
// The same request from inside the process (an X error in a host's window that went away).
void RequestTermination();
// True once such a signal has arrived and the loop has not yet taken it.
bool TerminationRequested();
// Takes the request: true once per signal.
bool TakeTerminationRequest();

}  // namespace vx
