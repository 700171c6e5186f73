// The language the user reads, as the system says it: on Linux the locale variables, on
// Windows the user's display language. Defined once per system.
#pragma once

#include "core/texts.h"

namespace vx {

Language UserLanguage();

}  // namespace vx
