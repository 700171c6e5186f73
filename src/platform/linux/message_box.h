#pragma once

#include <cstdint>
#include <string_view>

namespace vx {

// A modal message box through Qt (so Japanese renders); always echoed on stderr, which is
// all there is without a display.
void ShowMessageBox(std::string_view text, std::string_view title, uint32_t style,
                    bool has_display);

}  // namespace vx
