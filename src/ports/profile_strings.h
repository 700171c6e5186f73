// Profile strings: one value under a section and key of an INI file.
#pragma once

#include <string>
#include <string_view>

namespace vx {

class ProfileStrings {
 public:
  virtual ~ProfileStrings() = default;
  // The value, blanks around it trimmed and one pair of enclosing quotes removed; empty when the
  // file, section or key is missing. Not cut to any length: callers cut to their buffer.
  virtual std::string GetString(std::string_view section, std::string_view key,
                                const std::string& file) = 0;
  // Sets one key, keeping every other line of the file; creates the file or section when
  // missing. False when the file cannot be written.
  virtual bool WriteString(std::string_view section, std::string_view key, std::string_view value,
                           const std::string& file) = 0;
};

}  // namespace vx
