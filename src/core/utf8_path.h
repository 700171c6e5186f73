// File names are UTF-8 text everywhere in the program. A std::string handed straight to
// std::filesystem or a file stream is read in the system's narrow code page on Windows, which
// cannot name every file; these two turn UTF-8 into a path and back on every platform.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace vx {

inline std::filesystem::path Utf8Path(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string Utf8String(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace vx
