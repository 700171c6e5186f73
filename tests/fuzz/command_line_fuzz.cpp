// Feeds the input to start-up's readers of untrusted text: split at NUL bytes into the
// process arguments (as the kernel hands them over, so no argument can hold a NUL; "a\0" is
// "a" and an empty argument, an empty input no argument at all), then the joined host
// argument text to the mode letter and preview handle, and every argument to the number
// readers.
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/numbers.h"
#include "startup/command_line.h"
#include "startup/mode_dispatch.h"

namespace vx {
namespace {

void Require(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

std::vector<std::string> SplitAtNul(std::string_view input) {
  std::vector<std::string> args;
  if (input.empty()) return args;
  size_t start = 0;
  while (true) {
    const size_t nul = input.find('\0', start);
    args.emplace_back(input.substr(start, nul == std::string_view::npos ? nul : nul - start));
    if (nul == std::string_view::npos) return args;
    start = nul + 1;
  }
}

bool IsXScreenSaverOption(const std::string& arg) {
  return arg == "-root" || arg == "--root" || arg == "-window-id" || arg == "--window-id";
}

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

void CheckHex(std::string_view text) {
  const std::optional<int32_t> value = HexToLongChecked(text);
  bool well_formed = !text.empty() && text.size() <= 8;
  for (char c : text) well_formed = well_formed && IsHexDigit(c);
  Require(value.has_value() == well_formed, "hexadecimal accepted exactly when well formed");
  Require(HexToLong(text) == value.value_or(0), "HexToLong is the checked form or 0");
  if (!value) return;
  uint32_t bits = 0;
  std::from_chars(text.data(), text.data() + text.size(), bits, 16);
  const int32_t expected = text.size() <= 4 ? static_cast<int16_t>(static_cast<uint16_t>(bits))
                                            : static_cast<int32_t>(bits);
  Require(*value == expected, "short text is 16-bit and sign-extended, long text all 32 bits");
}

void CheckNumberReaders(std::string_view text) {
  const std::optional<double> whole = ParseNumber(text);
  const double leading = ParseLeadingNumber(text);
  Require(std::isfinite(leading), "a leading number is finite");
  if (whole) {
    Require(std::isfinite(*whole), "a whole-text number is finite");
    // What reads as one whole number also reads so from its start.
    Require(leading == *whole, "ParseLeadingNumber agrees with ParseNumber");
  }
  CheckHex(text);
}

void CheckModeAndHandle(std::string_view text) {
  const char letter = ModeLetter(text);
  if (text.size() < 2) {
    Require(letter == 0, "no mode letter in a short text");
  } else {
    Require(letter == static_cast<char>(std::toupper(static_cast<unsigned char>(text[1]))),
            "the mode letter is the upper-cased second character");
  }
  const int32_t handle = PreviewHandle(text);
  if (text.size() < 4) Require(handle == 0, "no handle in a short text");
}

// The host's own form must give back any 32-bit handle whatever follows it.
void CheckHandleRoundTrip(int32_t handle, std::string_view tail) {
  const std::string number = std::to_string(handle);
  Require(PreviewHandle("/p " + number) == handle, "/p N gives N");
  Require(PreviewHandle("/P:" + number) == handle, "/P:N gives N");
  if (!tail.empty() && (tail[0] < '0' || tail[0] > '9') && tail[0] != '.' && tail[0] != 'e' &&
      tail[0] != 'E' && !std::isspace(static_cast<unsigned char>(tail[0]))) {
    Require(PreviewHandle("/p " + number + std::string(tail)) == handle,
            "a handle ends where the number does");
  }
}

void CheckCommandLine(const std::vector<std::string>& args) {
  const CommandLine line = ParseCommandLine(args);
  const CommandLine again = ParseCommandLine(args);
  Require(line.argument_text == again.argument_text && line.error == again.error,
          "parsing is deterministic");
  if (args.empty()) Require(line.argument_text.empty() && line.error.empty(), "nothing given");
  // A missing option value ends reading at once, and the program then only reports it.
  if (!args.empty() && !IsXScreenSaverOption(args[0]) && line.error.empty()) {
    Require(line.argument_text.starts_with(args[0]), "the first host argument leads the text");
  }
  if (line.options.windowed) {
    const auto [width, height] = *line.options.windowed;
    Require(width > 0 && height > 0 && width <= 16384 && height <= 16384, "window size bounds");
  }
  if (line.options.frames && *line.options.frames < 1) {
    Require(!line.error.empty(), "a frame count below 1 is an error");
  }
  CheckModeAndHandle(line.argument_text);
}

}  // namespace
}  // namespace vx

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> args = vx::SplitAtNul(input);
  vx::CheckCommandLine(args);
  for (const std::string& arg : args) {
    vx::CheckNumberReaders(arg);
    vx::CheckModeAndHandle(arg);
  }
  vx::CheckNumberReaders(input);
  vx::CheckModeAndHandle(input);
  int32_t handle = 0;
  for (size_t i = 0; i < 4 && i < size; ++i) {
    handle = static_cast<int32_t>(static_cast<uint32_t>(handle) << 8 | data[i]);
  }
  vx::CheckHandleRoundTrip(handle, size > 4 ? input.substr(4) : std::string_view());
  return 0;
}
