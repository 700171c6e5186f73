// Number conversions with the exact rounding and width rules the saver's arithmetic relies on.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace vx {

// Round half to even (12.5 -> 12, 13.5 -> 14). NaN and infinities give nullopt.
std::optional<double> RoundHalfEven(double value);

// Half-to-even conversions that fail (nullopt) when the rounded value does not fit.
std::optional<int32_t> ToInt32(double value);
std::optional<int16_t> ToInt16(double value);

// Floor, then narrow to 16 bits; fails when the floored value does not fit.
std::optional<int16_t> FloorToInt16(double value);

// Half-to-even to 32 bits where an overflow cannot happen or is a caller's bug: saturates.
int32_t Round32(double value);

// Round32 for per-frame arithmetic, with the same results and no library call: truncation
// and the fraction it leaves are exact, so the tie test is exact too (also on x87).
inline int32_t Round32Fast(double value) {
  if (value > -2147483648.0 && value < 2147483647.0) {
    const int32_t whole = static_cast<int32_t>(value);
    const double fraction = value - whole;
    // Without branches: fractions are random, and mispredicted jumps cost more than the sums.
    const int32_t odd = whole & 1;
    const int32_t up = (fraction > 0.5) | ((fraction == 0.5) & odd);
    const int32_t down = (fraction < -0.5) | ((fraction == -0.5) & odd);
    return whole + up - down;
  }
  return Round32(value);
}

// The settings file's number reading: the whole text must be one number. Blanks around it,
// a sign, a fraction and an exponent are accepted; anything else fails.
std::optional<double> ParseNumber(std::string_view text);

// Leading-number reading: blanks are skipped (also between digits), reading stops at the
// first character that cannot continue a number; no digits give 0.
double ParseLeadingNumber(std::string_view text);

// "&H" + text read as hexadecimal into a 32-bit signed integer: eight digits give the full
// bit pattern ("FFFFFFFF" -> -1); up to four digits are a 16-bit value, sign-extended
// ("FFFF" -> -1). Text that is not hexadecimal, or longer than eight digits, gives nullopt.
std::optional<int32_t> HexToLongChecked(std::string_view text);
int32_t HexToLong(std::string_view text);  // 0 where the checked form fails

}  // namespace vx
