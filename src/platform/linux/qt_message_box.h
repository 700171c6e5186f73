#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

class QApplication;

namespace vx {

// The process's QApplication: the existing one, or one made now and owned by the caller.
std::unique_ptr<QApplication> EnsureQApplication();

// A modal message box through Qt (so Japanese renders), in the user's language; always echoed
// on stderr, which is all there is without a display. `japanese`: the message as designed.
void ShowMessageBox(std::string_view japanese, std::string_view title, uint32_t style,
                    bool has_display);

}  // namespace vx
