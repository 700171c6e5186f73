// Profile strings kept in INI files, read and written by our own code with the semantics the
// settings file has always had.
#pragma once

#include <string>
#include <string_view>

#include "ports/profile_strings.h"

namespace vx {

// The INI-file implementation. Section and key names match case-insensitively (ASCII), the
// first of duplicate keys wins, and keys with Japanese names are written in CP932 and found
// in CP932 or UTF-8.
class IniProfileStrings final : public ProfileStrings {
 public:
  std::string GetString(std::string_view section, std::string_view key,
                        const std::string& file) override;
  bool WriteString(std::string_view section, std::string_view key, std::string_view value,
                   const std::string& file) override;
};

}  // namespace vx
