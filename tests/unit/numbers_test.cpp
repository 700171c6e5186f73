#include "core/numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/random.h"

namespace vx {
namespace {

TEST(Numbers, HalfToEvenRoundsTiesToTheEvenNeighbour) {
  EXPECT_EQ(ToInt32(12.5), 12);
  EXPECT_EQ(ToInt32(13.5), 14);
  EXPECT_EQ(ToInt32(-12.5), -12);
  EXPECT_EQ(ToInt32(-13.5), -14);
  EXPECT_EQ(ToInt32(0.5), 0);
  EXPECT_EQ(ToInt32(1.5), 2);
  EXPECT_EQ(ToInt32(2.4999999), 2);
  EXPECT_EQ(ToInt32(2.5000001), 3);
  EXPECT_EQ(ToInt16(-0.5), 0);
}

TEST(Numbers, ConversionsFailOnOverflowAfterRounding) {
  EXPECT_EQ(ToInt32(2147483647.0), 2147483647);
  EXPECT_EQ(ToInt32(2147483647.4), 2147483647);
  EXPECT_FALSE(ToInt32(2147483647.5));             // rounds to 2^31
  EXPECT_EQ(ToInt32(-2147483648.5), -2147483648);  // rounds to the even -2^31
  EXPECT_FALSE(ToInt32(-2147483649.0));
  EXPECT_EQ(ToInt16(32767.4), 32767);
  EXPECT_FALSE(ToInt16(32767.5));
  EXPECT_EQ(ToInt16(-32768.5), -32768);
  EXPECT_FALSE(ToInt16(-32769.0));
  EXPECT_FALSE(ToInt32(std::numeric_limits<double>::quiet_NaN()));
  EXPECT_FALSE(ToInt32(std::numeric_limits<double>::infinity()));
}

TEST(Numbers, FloorToInt16) {
  EXPECT_EQ(FloorToInt16(1.7), 1);
  EXPECT_EQ(FloorToInt16(2.9), 2);
  EXPECT_EQ(FloorToInt16(-0.5), -1);
  EXPECT_EQ(FloorToInt16(32767.9), 32767);
  EXPECT_FALSE(FloorToInt16(32768.0));
  EXPECT_EQ(FloorToInt16(-32768.0), -32768);
  EXPECT_FALSE(FloorToInt16(-32768.1));
}

TEST(Numbers, SettingsNumberMustBeTheWholeText) {
  EXPECT_EQ(ParseNumber(" 5"), 5.0);
  EXPECT_EQ(ParseNumber("5 \t"), 5.0);
  EXPECT_EQ(ParseNumber("+5"), 5.0);
  EXPECT_EQ(ParseNumber("-3"), -3.0);
  EXPECT_EQ(ParseNumber("2.5"), 2.5);
  EXPECT_EQ(ParseNumber(".5"), 0.5);
  EXPECT_EQ(ParseNumber("5."), 5.0);
  EXPECT_EQ(ParseNumber("1e2"), 100.0);
  EXPECT_EQ(ParseNumber("1.5E-1"), 0.15);
  for (const char* bad : {"", " ", "abc", "5a", "1e", "1e+", ".", "+", "- 5", "1 2", "0x10", "inf",
                          "nan", "1e999", "&H10"})
    EXPECT_FALSE(ParseNumber(bad)) << bad;
}

TEST(Numbers, LeadingNumberStopsAtTheFirstForeignCharacter) {
  EXPECT_EQ(ParseLeadingNumber("1234"), 1234);
  EXPECT_EQ(ParseLeadingNumber("  1234abc"), 1234);
  EXPECT_EQ(ParseLeadingNumber("12 34"), 1234);  // blanks inside a number are skipped
  EXPECT_EQ(ParseLeadingNumber("-7x"), -7);
  EXPECT_EQ(ParseLeadingNumber("1.5.3"), 1.5);
  EXPECT_EQ(ParseLeadingNumber("2e3z"), 2000);
  EXPECT_EQ(ParseLeadingNumber("2ez"), 2);
  EXPECT_EQ(ParseLeadingNumber(""), 0);
  EXPECT_EQ(ParseLeadingNumber("abc"), 0);
  EXPECT_EQ(ParseLeadingNumber(":1234"), 0);
}

TEST(Numbers, HexToLong) {
  EXPECT_EQ(HexToLong("FFFFFFFF"), -1);
  EXPECT_EQ(HexToLong("80FFFFFF"), static_cast<int32_t>(0x80FFFFFF));
  EXPECT_EQ(HexToLong("7FFFFFFF"), 0x7FFFFFFF);
  EXPECT_EQ(HexToLong("0FFFFFF"), 0x00FFFFFF);
  EXPECT_EQ(HexToLong("ffffff"), 0x00FFFFFF);
  EXPECT_EQ(HexToLong("FFFF"), -1);  // four digits or fewer read as a 16-bit value
  EXPECT_EQ(HexToLong("7FFF"), 0x7FFF);
  EXPECT_EQ(HexToLong("10000"), 0x10000);
  EXPECT_FALSE(HexToLongChecked("123456789"));
  EXPECT_FALSE(HexToLongChecked("G1"));
  EXPECT_FALSE(HexToLongChecked(""));
}

TEST(Numbers, Round32FastAgreesWithRound32) {
  for (double v : {0.5,
                   1.5,
                   2.5,
                   -0.5,
                   -1.5,
                   -2.5,
                   127.49999999999999,
                   127.50000000000001,
                   -127.49999999999999,
                   2147483646.5,
                   2147483647.0,
                   2147483647.5,
                   -2147483647.5,
                   -2147483648.0,
                   -2147483648.5,
                   -3e9,
                   3e9,
                   0.0,
                   -0.0,
                   1e-300})
    EXPECT_EQ(Round32Fast(v), Round32(v)) << v;
  EXPECT_EQ(Round32Fast(std::numeric_limits<double>::quiet_NaN()), 0);
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
