// The preview in the screen-saver host's small monitor: a child window of the host's preview
// area, black, with the still preview picture at its top-left corner, living as long as the
// host's window does.
#pragma once

#include <cstdint>

struct HWND__;

namespace vx {

// Shows the preview inside `host` and returns when the preview window or the host's window
// is gone (noticed within half a second even if no message says so). 1 when `host` is not a
// window.
int RunWin32Preview(HWND__* host);

}  // namespace vx
