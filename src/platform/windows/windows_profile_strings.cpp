#include "platform/windows/windows_profile_strings.h"

#include "core/utf8_path.h"
#include "platform/windows/wide_text.h"

namespace vx {

std::string WindowsProfileStrings::GetString(std::string_view section, std::string_view key,
                                             const std::string& file) {
  std::string value = ini_.GetString(section, key, file);
  if (!IsValidUtf8(value)) value = Narrow(Widen(value));  // Widen reads it in the code page
  return value;
}

}  // namespace vx
