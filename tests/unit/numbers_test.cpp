#include "core/numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <utility>

#include "core/random.h"

namespace vx {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

TEST(Numbers, ConversionsRoundHalfToEvenThenFailWhenTheResultDoesNotFit) {
  // Ties go to the even neighbour, also at the ends of the range (2^31 does not fit, the even
  // -2^31 does); NaN and infinities fail.
  const std::pair<double, std::optional<int32_t>> to_int32[] = {
      {12.5, 12}, {13.5, 14}, {-12.5, -12}, {-13.5, -14}, {0.5, 0}, {2.4999999, 2}, {2.5000001, 3}};
  for (auto [value, want] : to_int32) EXPECT_EQ(ToInt32(value), want) << value;
  const std::pair<double, std::optional<int32_t>> to_int32_ends[] = {
      {2147483647.4, 2147483647}, {2147483647.5, {}}, {-2147483648.5, -2147483648},
      {-2147483649.0, {}},        {kNaN, {}},         {kInfinity, {}}};
  for (auto [value, want] : to_int32_ends) EXPECT_EQ(ToInt32(value), want) << value;
  const std::pair<double, std::optional<int16_t>> to_int16[] = {
      {-0.5, 0}, {1.5, 2}, {32767.4, 32767}, {32767.5, {}}, {-32768.5, -32768}, {-32769.0, {}}};
  for (auto [value, want] : to_int16) EXPECT_EQ(ToInt16(value), want) << value;
  const std::pair<double, std::optional<int16_t>> floor_to_int16[] = {
      {2.9, 2}, {-0.5, -1}, {32767.9, 32767}, {32768.0, {}}, {-32768.0, -32768}, {-32768.1, {}}};
  for (auto [value, want] : floor_to_int16) EXPECT_EQ(FloorToInt16(value), want) << value;
  EXPECT_EQ(Round32(3e9), 2147483647);  // Round32 saturates instead of failing
  EXPECT_EQ(Round32(-3e9), -2147483648);
  EXPECT_EQ(Round32(kNaN), 0);
}

TEST(Numbers, SettingsNumberMustBeTheWholeText) {
  const std::pair<const char*, double> good[] = {
      {" 5", 5}, {"5 \t", 5}, {"+5", 5}, {"-3", -3}, {".5", 0.5}, {"5.", 5}, {"1.5E-1", 0.15}};
  for (auto [text, want] : good) EXPECT_EQ(ParseNumber(text), want) << text;
  for (const char* bad : {"", " ", "abc", "5a", "1e", "1e+", ".", "+", "- 5", "1 2", "0x10", "inf",
                          "nan", "1e999", "&H10"})
    EXPECT_FALSE(ParseNumber(bad)) << bad;
}

TEST(Numbers, LeadingNumberStopsAtTheFirstForeignCharacter) {
  // Blanks inside a number are skipped; an exponent counts only with digits after it.
  const std::pair<const char*, double> cases[] = {
      {"  1234abc", 1234}, {"12 34", 1234}, {"-7x", -7}, {"1.5.3", 1.5},
      {"2e3z", 2000},      {"2ez", 2},      {"", 0},     {":1234", 0}};
  for (auto [text, want] : cases) EXPECT_EQ(ParseLeadingNumber(text), want) << text;
}

TEST(Numbers, HexToLong) {
  // Four digits or fewer read as a 16-bit value; more as 32 bits.
  const std::pair<const char*, int32_t> cases[] = {
      {"FFFFFFFF", -1}, {"80FFFFFF", -0x7F000001}, {"ffffff", 0xFFFFFF},
      {"FFFF", -1},     {"7FFF", 0x7FFF},          {"10000", 0x10000},
      {"G1", 0},        {"123456789", 0},          {"", 0}};  // not hexadecimal, too long, empty
  for (auto [text, want] : cases) EXPECT_EQ(HexToLong(text), want) << text;
}

TEST(Numbers, Round32FastAgreesWithRound32) {
  for (double v : {0.5, 2.5, -0.5, -1.5, -2.5, 127.49999999999999, 127.50000000000001,
                   -127.49999999999999, 2147483646.5, 2147483647.0, 2147483647.5, -2147483647.5,
                   -2147483648.0, -2147483648.5, -3e9, 3e9, 0.0, 1e-300, kNaN})
    EXPECT_EQ(Round32Fast(v), Round32(v)) << v;
  MersenneRandom rnd(1);
  for (int i = 0; i < 100000; ++i) {
    const double v = (rnd.Next() - 0.5) * std::pow(2.0, static_cast<int>(rnd.Next() * 34));
    const double half = std::floor(v) + 0.5;  // and every tie near it
    ASSERT_EQ(Round32Fast(v), Round32(v)) << v;
    ASSERT_EQ(Round32Fast(half), Round32(half)) << half;
  }
}

}  // namespace
}  // namespace vx
