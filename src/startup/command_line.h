// Splits the process arguments into the host's argument text and our own options.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vx {

struct SaverOptions {
  std::optional<std::pair<int, int>> windowed;  // --windowed WxH
  std::optional<uint32_t> seed;                 // --seed N
  std::optional<int64_t> frames;                // --frames N
  std::string screenshot;                       // --screenshot FILE
  bool uncapped = false;                        // --uncapped
  bool stats = false;                           // --stats
  std::optional<std::string> title;             // --title TEXT
  // XScreenSaver's own arguments, given before the mode letter.
  bool root = false;                  // -root
  std::optional<uint64_t> window_id;  // -window-id ID
};

struct CommandLine {
  std::string argument_text;  // what the screen-saver host passed, joined by single blanks
  SaverOptions options;
  std::string error;  // non-empty when an option was malformed
};

// A window id as XScreenSaver writes it: decimal, or hexadecimal after "0x" (a leading zero
// does not make it octal). nullopt for anything else.
std::optional<uint64_t> ParseWindowId(const std::string& text);

// args excludes the program name. The first host argument is never taken as an option, so
// "--help" stays the whole argument text; options are recognised after it.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

std::string UsageText();

}  // namespace vx
