// The program's text is UTF-8; Windows' own is UTF-16. Every call into a wide API goes
// through these, so file names and messages read right on any system code page.
#pragma once

#include <string>
#include <string_view>

namespace vx {

// UTF-8 to UTF-16; text that is not UTF-8 is read in the system's code page.
std::wstring Widen(std::string_view text);
std::string Narrow(std::wstring_view utf16);

}  // namespace vx
