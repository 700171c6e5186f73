// The settings file on Windows: the project's own INI reader and writer (the same bytes on
// disk as on every platform), with values in the system's code page as the ANSI profile
// functions store them: written so whenever every character exists there (another reader of
// the file, an older copy of the program, an editor in that code page, reads them right), in
// UTF-8 only when it cannot hold them; read in the code page when they are not UTF-8. The rest
// of the program gets UTF-8.
#pragma once

#include "settings/ini_profile_strings.h"

namespace vx {

class Win32ProfileStrings final : public ProfileStrings {
 public:
  std::string GetString(std::string_view section, std::string_view key,
                        const std::string& file) override;
  bool WriteString(std::string_view section, std::string_view key, std::string_view value,
                   const std::string& file) override;

 private:
  IniProfileStrings ini_;
};

// The text in the system's code page when every character exists there and those bytes
// cannot be taken for UTF-8 on reading; otherwise the UTF-8 text itself.
std::string InSystemCodePage(std::string_view utf8);

}  // namespace vx
