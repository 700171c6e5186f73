// The program's text is UTF-8; Windows' own is UTF-16. Every call into a wide API goes
// through these, so file names and messages read right on any system code page.
#pragma once

#include <string>
#include <string_view>

namespace vx {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

}  // namespace vx
