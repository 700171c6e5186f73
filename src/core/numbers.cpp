#include "core/numbers.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace vx {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

template <typename T>
std::optional<T> Narrow(std::optional<double> rounded) {
  if (!rounded) return std::nullopt;
  if (*rounded < static_cast<double>(std::numeric_limits<T>::min()) ||
      *rounded > static_cast<double>(std::numeric_limits<T>::max()))
    return std::nullopt;
  return static_cast<T>(*rounded);
}

}  // namespace

std::optional<double> RoundHalfEven(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  const double down = std::floor(value);
  const double diff = value - down;
  if (diff < 0.5) return down;
  if (diff > 0.5) return down + 1.0;
  return std::fmod(down, 2.0) == 0.0 ? down : down + 1.0;
}

std::optional<int32_t> ToInt32(double value) {
  return Narrow<int32_t>(RoundHalfEven(value));
}
std::optional<int16_t> ToInt16(double value) {
  return Narrow<int16_t>(RoundHalfEven(value));
}

std::optional<int16_t> FloorToInt16(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  return Narrow<int16_t>(std::floor(value));
}

int32_t Round32(double value) {
  if (std::isnan(value)) return 0;
  if (auto r = ToInt32(value)) return *r;
  return value < 0 ? std::numeric_limits<int32_t>::min() : std::numeric_limits<int32_t>::max();
}

std::optional<double> ParseNumber(std::string_view text) {
  size_t b = 0, e = text.size();
  while (b < e && IsBlank(text[b])) ++b;
  while (e > b && IsBlank(text[e - 1])) --e;
  std::string_view t = text.substr(b, e - b);
  // Validate the grammar ourselves: from_chars accepts "inf"/"nan" and rejects a leading '+'.
  size_t i = 0;
  bool negative = false;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
  const size_t mantissa = i;
  size_t digits = 0;
  while (i < t.size() && IsDigit(t[i])) ++i, ++digits;
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && IsDigit(t[i])) ++i, ++digits;
  }
  if (digits == 0) return std::nullopt;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    size_t exp_digits = 0;
    while (i < t.size() && IsDigit(t[i])) ++i, ++exp_digits;
    if (exp_digits == 0) return std::nullopt;
  }
  if (i != t.size()) return std::nullopt;
  double value = 0;
  std::string_view body = t.substr(mantissa);
  auto [ptr, ec] = std::from_chars(body.data(), body.data() + body.size(), value);
  if (ec != std::errc() || ptr != body.data() + body.size() || !std::isfinite(value))
    return std::nullopt;
  return negative ? -value : value;
}

double ParseLeadingNumber(std::string_view text) {
  std::string number;
  size_t i = 0;
  auto skip = [&] {
    while (i < text.size() && IsBlank(text[i])) ++i;
  };
  skip();
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) number += text[i++];
  bool any_digit = false, seen_point = false;
  for (;; ++i) {
    skip();
    if (i >= text.size()) break;
    if (IsDigit(text[i])) {
      number += text[i];
      any_digit = true;
    } else if (text[i] == '.' && !seen_point) {
      number += '.';
      seen_point = true;
    } else {
      break;
    }
  }
  if (!any_digit) return 0.0;
  // An exponent counts only when digits follow it.
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    std::string exponent = "e";
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) exponent += text[j++];
    size_t start = exponent.size();
    while (j < text.size() && IsDigit(text[j])) exponent += text[j++];
    if (exponent.size() > start) number += exponent;
  }
  auto parsed = ParseNumber(number);
  return parsed ? *parsed : 0.0;
}

std::optional<int32_t> HexToLongChecked(std::string_view text) {
  if (text.empty() || text.size() > 8) return std::nullopt;
  uint32_t value = 0;
  for (char c : text) {
    int d;
    if (IsDigit(c))
      d = c - '0';
    else if (c >= 'a' && c <= 'f')
      d = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
      d = c - 'A' + 10;
    else
      return std::nullopt;
    value = value * 16u + static_cast<uint32_t>(d);
  }
  if (text.size() <= 4)
    return static_cast<int32_t>(static_cast<int16_t>(static_cast<uint16_t>(value)));
  return static_cast<int32_t>(value);
}

int32_t HexToLong(std::string_view text) {
  return HexToLongChecked(text).value_or(0);
}

}  // namespace vx
