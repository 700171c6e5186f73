#include "music/command_string.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <map>
#include <utility>

namespace vx {
namespace {

std::string Lower(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return out;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

constexpr std::array<std::pair<std::string_view, CommandVerb>, 6> kVerbs = {{
    {"open", CommandVerb::kOpen},
    {"close", CommandVerb::kClose},
    {"play", CommandVerb::kPlay},
    {"stop", CommandVerb::kStop},
    {"status", CommandVerb::kStatus},
    {"set", CommandVerb::kSet},
}};

struct ValuedKeyword {
  std::string_view name;
  std::string* value;
};

// Reads the two keywords that take a value (each found empty when not given) among words that
// may also hold the two keywords that stand alone; anything else is refused.
uint32_t ReadValuedKeywords(const std::vector<std::string>& words, ValuedKeyword first,
                            ValuedKeyword second, std::array<std::string_view, 2> flags) {
  first.value->clear();
  second.value->clear();
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (word == first.name || word == second.name) {
      if (i + 1 >= words.size()) return kMciErrMissingParameter;
      *(word == first.name ? first.value : second.value) = words[++i];
    } else if (word != flags[0] && word != flags[1]) {
      return kMciErrUnrecognizedKeyword;
    }
  }
  return 0;
}

}  // namespace

uint32_t SplitWords(std::string_view command, std::vector<std::string>& words) {
  size_t i = 0;
  while (i < command.size()) {
    if (IsBlank(command[i])) {
      ++i;
      continue;
    }
    if (command[i] == '"') {
      const size_t close = command.find('"', i + 1);
      if (close == std::string_view::npos) return kMciErrNoClosingQuote;
      if (close + 1 < command.size() && !IsBlank(command[close + 1])) {
        return kMciErrExtraCharacters;
      }
      words.emplace_back(command.substr(i + 1, close - i - 1));
      i = close + 1;
      continue;
    }
    size_t end = i;
    while (end < command.size() && !IsBlank(command[end])) ++end;
    words.emplace_back(command.substr(i, end - i));
    i = end;
  }
  return words.empty() ? kMciErrMissingCommandString : 0;
}

uint32_t ParseCommandString(std::string_view text, CommandString& command) {
  std::vector<std::string> words;
  if (const uint32_t result = SplitWords(text, words); result != 0) return result;
  const std::string verb = Lower(words[0]);
  const auto known = std::find_if(kVerbs.begin(), kVerbs.end(),
                                  [&](const auto& entry) { return entry.first == verb; });
  if (known == kVerbs.end()) return kMciErrUnrecognizedCommand;
  if (words.size() < 2) return kMciErrMissingDeviceName;
  CommandString parsed;
  parsed.verb = known->second;
  parsed.element = words[1];
  parsed.device = Lower(words[1]);
  for (size_t i = 2; i < words.size(); ++i) parsed.arguments.push_back(Lower(words[i]));
  command = std::move(parsed);
  return 0;
}

uint32_t ReadOpenOptions(const CommandString& command, std::string& type, std::string& alias) {
  return ReadValuedKeywords(command.arguments, {"type", &type}, {"alias", &alias},
                            {"shareable", "wait"});
}

uint32_t ReadPlayRange(const CommandString& command, std::string& from, std::string& to) {
  return ReadValuedKeywords(command.arguments, {"from", &from}, {"to", &to}, {"wait", "notify"});
}

uint32_t ReadTimeFormat(const CommandString& command, TimeFormat& format) {
  constexpr std::string_view kKeywords = "time format ";
  const std::string setting = JoinWords(command.arguments);
  if (!setting.starts_with(kKeywords)) return kMciErrUnrecognizedKeyword;
  const std::string_view name = std::string_view(setting).substr(kKeywords.size());
  if (name == "milliseconds" || name == "ms") {
    format = TimeFormat::kMilliseconds;
  } else if (name == "tmsf") {
    format = TimeFormat::kTmsf;
  } else if (name == "msf") {
    format = TimeFormat::kMsf;
  } else {
    return kMciErrBadConstant;
  }
  return 0;
}

std::string JoinWords(const std::vector<std::string>& words) {
  std::string out;
  for (const std::string& word : words) {
    if (!out.empty()) out += ' ';
    out += word;
  }
  return out;
}

std::optional<int64_t> ParseCount(std::string_view text) {
  // Nine digits keep the 64-bit arithmetic done on a count, even in frames, from overflowing.
  if (text.empty() || text.size() > 9) return std::nullopt;
  int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

std::optional<std::vector<int64_t>> ParseFields(std::string_view text, size_t max_fields) {
  std::vector<int64_t> fields;
  size_t start = 0;
  while (true) {
    const size_t colon = text.find(':', start);
    auto field = ParseCount(text.substr(
        start, colon == std::string_view::npos ? std::string_view::npos : colon - start));
    if (!field) return std::nullopt;
    fields.push_back(*field);
    if (fields.size() > max_fields) return std::nullopt;
    if (colon == std::string_view::npos) return fields;
    start = colon + 1;
  }
}

std::string FormatTwoDigits(int64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "%02lld", static_cast<long long>(value));
  return text;
}

std::string FormatMsf(int32_t frames) {
  return FormatTwoDigits(frames / (60 * kMsfFramesPerSecond)) + ":" +
         FormatTwoDigits(frames / kMsfFramesPerSecond % 60) + ":" +
         FormatTwoDigits(frames % kMsfFramesPerSecond);
}

std::string_view ErrorText(uint32_t code) {
  static const std::map<uint32_t, std::string_view> texts = {
      {kMciErrInvalidDeviceId,
       "Invalid device ID. Use the ID given to this device when the device was opened."},
      {kMciErrUnrecognizedKeyword, "The driver cannot recognize the specified command parameter."},
      {kMciErrUnrecognizedCommand, "The driver cannot recognize the specified command."},
      {kMciErrHardware,
       "There is a problem with your media device. Make sure it is working correctly or "
       "contact the device manufacturer."},
      {kMciErrInvalidDeviceName, "The specified device is not open or is not recognized by MCI."},
      {kMciErrDeviceOpen,
       "The device name is already being used as an alias by this "
       "application. Use a unique alias."},
      {kMciErrCannotLoadDriver,
       "There is an undetectable problem in loading the specified "
       "device driver."},
      {kMciErrMissingCommandString, "No command was specified."},
      {kMciErrBadInteger, "An integer in the command was invalid or missing."},
      {kMciErrMissingParameter, "The specified command requires a parameter. Please supply one."},
      {kMciErrUnsupportedFunction,
       "The MCI device you are using does not support the specified "
       "command."},
      {kMciErrFileNotFound,
       "Cannot find the specified file. Make sure the path and filename are "
       "correct."},
      {kMciErrDeviceNotReady, "The device driver is not ready."},
      {kMciErrOutOfRange, "The specified parameter is out of range for the specified command."},
      {kMciErrDuplicateAlias,
       "The specified alias is already being used in this application. "
       "Use a unique alias."},
      {kMciErrBadConstant, "The value specified for a parameter is unknown."},
      {kMciErrMissingDeviceName, "No device name was specified."},
      {kMciErrNoClosingQuote, "A closing quotation mark is missing."},
      {kMciErrInvalidFile,
       "The specified file cannot be played on the specified MCI device. "
       "The file may be corrupt, or not in the correct format."},
      {kMciErrExtraCharacters, "You must enclose this string with quotation marks."},
      {kMciErrDeviceNotInstalled, "The specified device is not installed on the system."},
  };
  const auto it = texts.find(code);
  return it == texts.end() ? std::string_view() : it->second;
}

}  // namespace vx
