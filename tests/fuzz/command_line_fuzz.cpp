// Start-up's readers of untrusted text. The input is split at NUL bytes into the process
// arguments, as the kernel hands them over: no argument holds a NUL, "a\0" is "a" and "".
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/numbers.h"
#include "fuzz/fuzz_support.h"
#include "startup/command_line.h"
#include "startup/mode_dispatch.h"

namespace vx {
namespace {

using fuzz::Require;

void ReadText(std::string_view text) {
  ModeLetter(text);
  PreviewHandle(text);
  HexToLong(text);
  ParseWindowId(std::string(text));
  const std::optional<double> whole = ParseNumber(text);
  Require(!whole || *whole == ParseLeadingNumber(text), "a whole number reads so from its start");
}

void Run(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> args;
  for (size_t start = 0, nul = 0; size > 0 && start <= size; start = nul + 1) {
    nul = std::min(input.find('\0', start), size);
    args.emplace_back(input.substr(start, nul - start));
  }
  ReadText(ParseCommandLine(args).argument_text);
  for (const std::string& arg : args) ReadText(arg);
  ReadText(input);

  const int32_t value = fuzz::LeadingInt32(data, size);
  const std::string number = std::to_string(value);
  Require(PreviewHandle("/p " + number) == value && PreviewHandle("/P:" + number) == value,
          "the host's forms give back any handle");
  char hex[9];
  std::snprintf(hex, sizeof hex, "%08X", static_cast<uint32_t>(value));
  Require(HexToLongChecked(hex) == value, "eight hexadecimal digits give back any value");
}

}  // namespace
}  // namespace vx

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vx::Run(data, size);
  return 0;
}
