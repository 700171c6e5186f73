// File names are UTF-8 text everywhere in the program. A std::string handed straight to
// std::filesystem or a file stream is read in the system's narrow code page on Windows, which
// cannot name every file; these turn UTF-8 into a path and back on every platform.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace vx {

// True for well-formed UTF-8: no stray or missing continuation bytes, no overlong forms, no
// surrogates, nothing beyond U+10FFFF.
bool IsValidUtf8(std::string_view text);

// The path the text names. Text that is not UTF-8 (a name stored by an older program in the
// system's code page) is taken as the system's narrow encoding instead of failing.
std::filesystem::path Utf8Path(std::string_view text);

std::string Utf8String(const std::filesystem::path& path);

}  // namespace vx
