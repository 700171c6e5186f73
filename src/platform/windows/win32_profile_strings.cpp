#include "platform/windows/win32_profile_strings.h"

#include "core/utf8_path.h"
#include "platform/windows/win32_wide_text.h"

namespace vx {

std::string Win32ProfileStrings::GetString(std::string_view section, std::string_view key,
                                           const std::string& file) {
  std::string value = ini_.GetString(section, key, file);
  if (!IsValidUtf8(value)) value = Narrow(Widen(value));  // Widen reads it in the code page
  return value;
}

}  // namespace vx
