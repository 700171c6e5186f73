// The settings file on Windows: the project's own INI reader and writer (the same bytes on
// disk as on every platform), with values that are not UTF-8 read in the system's code page.
// An older program wrote its music file's name that way; the rest of the program gets UTF-8.
#pragma once

#include "settings/ini_profile_strings.h"

namespace vx {

class Win32ProfileStrings final : public ProfileStrings {
 public:
  std::string GetString(std::string_view section, std::string_view key,
                        const std::string& file) override;
  bool WriteString(std::string_view section, std::string_view key, std::string_view value,
                   const std::string& file) override {
    return ini_.WriteString(section, key, value, file);
  }

 private:
  IniProfileStrings ini_;
};

}  // namespace vx
