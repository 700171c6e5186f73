// Xlib's default error handler ends the process on the spot (status 1), before the saver can
// delete its images. In a host's window errors are to be expected: the host may destroy its
// window (and ours inside it) while a frame is on its way. Trapped, an error becomes a quit
// request, and the saver ends through its normal path.
#pragma once

#include <string>

namespace vx {

// Process-wide, for every Xlib connection (SDL's and the GL driver's included).
void TrapXErrors();
// The first error trapped, described; "" when none was.
std::string FirstTrappedXError();

}  // namespace vx
