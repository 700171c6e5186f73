#pragma once

#include <cstdint>

#include "startup/preview_geometry.h"

namespace vx {

// Shows the still preview picture in a child window of `host` until the host goes away.
// Returns the exit status: 1 when `host` is not a window.
int RunX11Preview(uint64_t host);

}  // namespace vx
