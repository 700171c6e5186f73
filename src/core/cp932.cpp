#include "core/cp932.h"

#include <cstdint>

namespace vx {
namespace {

struct Pair {
  char32_t code;
  unsigned char lead, trail;
};
// Only characters that our own key names use; extend when a new key needs one.
constexpr Pair kKanji[] = {
    {U'\u533A', 0x8B, 0xE6},  // 区
    {U'\u5206', 0x95, 0xAA},  // 分
};

// Decodes one UTF-8 sequence at s[i]; returns 0 on malformed input.
char32_t Decode(std::string_view s, size_t& i) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  int extra = b0 < 0x80 ? 0 : (b0 >> 5) == 6 ? 1 : (b0 >> 4) == 14 ? 2 : (b0 >> 3) == 30 ? 3 : -1;
  if (extra < 0 || i + static_cast<size_t>(extra) >= s.size()) return 0;
  char32_t c = extra == 0 ? b0 : b0 & (0x3F >> extra);
  for (int k = 1; k <= extra; ++k) {
    const auto b = static_cast<unsigned char>(s[i + static_cast<size_t>(k)]);
    if ((b & 0xC0) != 0x80) return 0;
    c = (c << 6) | (b & 0x3F);
  }
  i += static_cast<size_t>(extra) + 1;
  return c;
}

}  // namespace

std::optional<std::string> Utf8ToCp932(std::string_view utf8) {
  std::string out;
  size_t i = 0;
  while (i < utf8.size()) {
    const char32_t c = Decode(utf8, i);
    if (c == 0) return std::nullopt;
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c >= 0xFF61 && c <= 0xFF9F) {  // half-width katakana map straight onto A1..DF
      out += static_cast<char>(c - 0xFF61 + 0xA1);
    } else {
      bool found = false;
      for (const auto& p : kKanji) {
        if (p.code == c) {
          out += static_cast<char>(p.lead);
          out += static_cast<char>(p.trail);
          found = true;
          break;
        }
      }
      if (!found) return std::nullopt;
    }
  }
  return out;
}

}  // namespace vx
