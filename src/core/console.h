// The lines the program itself writes on a console start with its name, as command-line
// tools' messages do.
#pragma once

#include <string>
#include <string_view>

namespace vx {

inline std::string ConsoleLine(std::string_view text) {
  return "vexlum: " + std::string(text);
}

}  // namespace vx
