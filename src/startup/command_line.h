// Splits the process arguments into the host's argument text and our own options.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vx {

struct SaverOptions {
  std::optional<std::pair<int, int>> Windowed;  // --windowed WxH
  std::optional<uint32_t> Seed;                 // --seed N
  std::optional<int64_t> Frames;                // --frames N
  std::string Screenshot;                       // --screenshot FILE
  bool Uncapped = false;                        // --uncapped
  bool Stats = false;                           // --stats
  std::optional<std::string> Title;             // --title TEXT
  // XScreenSaver's own arguments, given before the mode letter.
  bool Root = false;                 // -root
  std::optional<uint64_t> WindowId;  // -window-id ID
};

struct CommandLine {
  std::string ArgumentText;  // what the screen-saver host passed, joined by single blanks
  SaverOptions Options;
  std::string Error;  // non-empty when an option was malformed
};

// args excludes the program name. The first host argument is never taken as an option, so
// "--help" stays the whole argument text; options are recognised after it.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

std::string UsageText();

}  // namespace vx
