#include "platform/windows/win32_profile_strings.h"

#include <windows.h>

#include <algorithm>

#include "core/utf8_path.h"
#include "platform/windows/win32_wide_text.h"

namespace vx {

std::string Win32ProfileStrings::GetString(std::string_view section, std::string_view key,
                                           const std::string& file) {
  std::string value = ini_.GetString(section, key, file);
  if (!IsValidUtf8(value)) value = Narrow(Widen(value));  // Widen reads it in the code page
  return value;
}

bool Win32ProfileStrings::WriteString(std::string_view section, std::string_view key,
                                      std::string_view value, const std::string& file) {
  return ini_.WriteString(section, key, InSystemCodePage(value), file);
}

std::string InSystemCodePage(std::string_view utf8) {
  if (std::all_of(utf8.begin(), utf8.end(), [](char c) { return (c & 0x80) == 0; }) ||
      !IsValidUtf8(utf8))
    return std::string(utf8);
  const std::wstring wide = Widen(utf8);
  const int size = static_cast<int>(wide.size());
  BOOL lost = FALSE;
  const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr,
                                         0, nullptr, &lost);
  std::string out(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, out.data(), length, nullptr,
                      &lost);
  // A character the code page lacks, or bytes that would read back as other UTF-8 text.
  if (lost || length == 0 || IsValidUtf8(out)) return std::string(utf8);
  return out;
}

}  // namespace vx
