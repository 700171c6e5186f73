// Multimedia command strings taken apart, and the pieces of their replies, in plain C++ so
// that every platform's interpreter reads commands and words its replies the same way.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ports/multimedia.h"

namespace vx {

// The verbs the interpreters understand.
enum class CommandVerb { kOpen, kClose, kPlay, kStop, kStatus, kSet };

// How positions are written in a "play" and in the replies to "status".
enum class TimeFormat { kMilliseconds, kMsf, kTmsf };

// Frames in a second of "mm:ss:ff": an audio CD's sectors.
inline constexpr int32_t kMsfFramesPerSecond = 75;

// A command string cut into its verb, the device it addresses and the words that follow.
struct CommandString {
  CommandVerb verb = CommandVerb::kOpen;
  // The second word as written: an "open" needs the file name with its case.
  std::string element;
  // The same in lower case, as devices and aliases are matched.
  std::string device;
  // The words after the device name in lower case; no keyword or value depends on case.
  std::vector<std::string> arguments;
};

// Parses `text` into `command`. Returns 0 or the code of the first fault: a word's quotes,
// no word at all, an unknown verb, then a missing device name.
uint32_t ParseCommandString(std::string_view text, CommandString& command);

// The "type" and "alias" of an "open", empty when not given.
uint32_t ReadOpenOptions(const CommandString& command, std::string& type, std::string& alias);
// The positions after "from" and "to" of a "play", empty when not given.
uint32_t ReadPlayRange(const CommandString& command, std::string& from, std::string& to);
// The format a "set DEVICE time format X" names.
uint32_t ReadTimeFormat(const CommandString& command, TimeFormat& format);

// Words joined by single blanks, as a status item of several words is matched. Empty words
// at the start leave no blank behind.
std::string JoinWords(const std::vector<std::string>& words);

// Splits a command into words. A word in double quotes may hold blanks; its closing quote
// must end the word, so a quote inside a quoted file name cannot smuggle in further words.
// Returns 0, kMciErrNoClosingQuote, kMciErrExtraCharacters or, with no word at all,
// kMciErrMissingCommandString.
uint32_t SplitWords(std::string_view command, std::vector<std::string>& words);

// Whole decimal numbers of at most nine digits, no sign.
std::optional<int64_t> ParseCount(std::string_view text);
// Up to `max_fields` counts separated by colons; none may be empty.
std::optional<std::vector<int64_t>> ParseFields(std::string_view text, size_t max_fields);

// At least two digits, zero-padded.
std::string FormatTwoDigits(int64_t value);
// "mm:ss:ff" of a count of frames; the minutes grow past two digits when they must.
std::string FormatMsf(int32_t frames);

// The error text of a result code; empty for 0 and for codes without a text.
std::string_view ErrorText(uint32_t code);

}  // namespace vx
