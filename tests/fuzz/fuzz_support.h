// What more than one fuzz target needs.
#pragma once

#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace vx::fuzz {

// abort() rather than a bare trap, so that the log names the broken invariant.
inline void Require(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

// The first four bytes, big-endian, so that the fuzzer reaches every 32-bit value.
inline int32_t LeadingInt32(const uint8_t* data, size_t size) {
  uint32_t value = 0;
  for (size_t i = 0; i < 4 && i < size; ++i) value = value << 8 | data[i];
  return static_cast<int32_t>(value);
}

// A private folder under $TMPDIR for the whole process, removed when libFuzzer exits, so that
// parallel jobs never share files and a clean run leaves nothing behind.
inline std::filesystem::path ScratchFolder() {
  namespace fs = std::filesystem;
  static std::string folder = (fs::temp_directory_path() / "vexlum-fuzz-XXXXXX").string();
  static const bool made = mkdtemp(folder.data()) != nullptr;
  static const int registered = std::atexit([] {
    std::error_code ec;
    fs::remove_all(folder, ec);
  });
  Require(made && registered == 0, "a scratch folder can be made");
  return folder;
}

}  // namespace vx::fuzz
