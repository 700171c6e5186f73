// The lines the program itself writes on a console start with its name, as command-line
// tools' messages do.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

namespace vx {

inline std::string ConsoleLine(std::string_view text) {
  return "vexlum: " + std::string(text);
}

// That line and its end, written to `out` (flushed when `out` is a console stream that is).
inline void SayLine(std::ostream& out, std::string_view text) {
  out << ConsoleLine(text) << std::endl;
}

}  // namespace vx
