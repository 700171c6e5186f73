// The few Shift_JIS (CP932) spellings the settings file needs: its key names were stored in the
// original platform's ANSI code page, and files written there must keep working here.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vx {

// ASCII, half-width katakana and the handful of kanji our key names and captions use.
// Returns nullopt when the text holds any other character.
std::optional<std::string> Utf8ToCp932(std::string_view utf8);

}  // namespace vx
