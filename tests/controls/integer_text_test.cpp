#include "controls/integer_text.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
constexpr int64_t kMin = std::numeric_limits<int64_t>::min();

TEST(ParseInteger64, ReadsDecimalWithLeadingBlanksAndSign) {
  EXPECT_EQ(ParseInteger64("0"), 0);
  EXPECT_EQ(ParseInteger64("75"), 75);
  EXPECT_EQ(ParseInteger64("  -12"), -12);
  EXPECT_EQ(ParseInteger64("+7"), 7);
  EXPECT_EQ(ParseInteger64("007"), 7);
}

TEST(ParseInteger64, ReadsHexadecimalAfterDollarOrZeroX) {
  EXPECT_EQ(ParseInteger64("$1F"), 31);
  EXPECT_EQ(ParseInteger64("$ff"), 255);
  EXPECT_EQ(ParseInteger64("0x10"), 16);
  EXPECT_EQ(ParseInteger64("0XaB"), 171);
  EXPECT_EQ(ParseInteger64("-$10"), -16);
  EXPECT_EQ(ParseInteger64(" 0x7FFFFFFFFFFFFFFF"), kMax);
  EXPECT_EQ(ParseInteger64("-0x8000000000000000"), kMin);
}

TEST(ParseInteger64, RefusesAnythingThatIsNotOneWholeNumber) {
  for (const char* text : {"", " ", "-", "+", "$", "0x", "1.5", "1-2", "12 ", "1e3", "abc", "$G", "0x1g", "--1", "- 1",
                           "\t1", "1,000", "12a"}) {
    EXPECT_EQ(ParseInteger64(text), std::nullopt) << '"' << text << '"';
  }
}

TEST(ParseInteger64, RefusesValuesOutsideTheSixtyFourBitRange) {
  EXPECT_EQ(ParseInteger64("9223372036854775807"), kMax);
  EXPECT_EQ(ParseInteger64("-9223372036854775808"), kMin);
  EXPECT_EQ(ParseInteger64("9223372036854775808"), std::nullopt);
  EXPECT_EQ(ParseInteger64("-9223372036854775809"), std::nullopt);
  EXPECT_EQ(ParseInteger64("$8000000000000000"), std::nullopt);
  EXPECT_EQ(ParseInteger64("99999999999999999999999"), std::nullopt);
}

TEST(LimitValue, HoldsValuesWithinTheRange) {
  EXPECT_EQ(LimitValue(75, 1, 50, false).Value, 50);
  EXPECT_EQ(LimitValue(50, 1, 50, false).Value, 50);
  EXPECT_EQ(LimitValue(0, 1, 50, false).Value, 1);
  EXPECT_EQ(LimitValue(kMin, 1, 50, false).Value, 1);
  EXPECT_EQ(LimitValue(25, 1, 50, false).Value, 25);
  const TLimitResult limited = LimitValue(75, 1, 50, false);
  EXPECT_FALSE(limited.WrappedDown);
  EXPECT_FALSE(limited.WrappedUp);
}

TEST(LimitValue, AppliesTheUpperLimitFirstAndTheLowerSecond) {
  // An empty loop list leaves the chooser with the range 0 .. -1.
  EXPECT_EQ(LimitValue(0, 0, -1, false).Value, -1);
  EXPECT_EQ(LimitValue(5, 0, -1, false).Value, -1);
  EXPECT_EQ(LimitValue(-1, 0, -1, false).Value, 0);
  EXPECT_EQ(LimitValue(-7, 0, -1, false).Value, 0);
  // Wrap does not apply to an inverted range.
  EXPECT_EQ(LimitValue(-1, 0, -1, true).Value, 0);
}

TEST(LimitValue, WrapsRoundTheCycleFromZeroToMaxMinusOne) {
  TLimitResult limited = LimitValue(10, 0, 10, true);
  EXPECT_EQ(limited.Value, 0);
  EXPECT_TRUE(limited.WrappedDown);
  EXPECT_FALSE(limited.WrappedUp);
  EXPECT_EQ(LimitValue(23, 0, 10, true).Value, 3);

  limited = LimitValue(-1, 0, 10, true);
  EXPECT_EQ(limited.Value, 9);
  EXPECT_TRUE(limited.WrappedUp);
  EXPECT_FALSE(limited.WrappedDown);
  EXPECT_EQ(LimitValue(-10, 0, 10, true).Value, 0);
  EXPECT_EQ(LimitValue(-13, 0, 10, true).Value, 7);

  limited = LimitValue(9, 0, 10, true);
  EXPECT_EQ(limited.Value, 9);
  EXPECT_FALSE(limited.WrappedDown || limited.WrappedUp);
}

TEST(LimitValue, WrapsOtherRangesWithoutOverflow) {
  EXPECT_EQ(LimitValue(12, 5, 10, true).Value, 7);
  EXPECT_EQ(LimitValue(4, 5, 10, true).Value, 9);
  EXPECT_EQ(LimitValue(kMax, kMin, kMax, true).Value, kMin);
  EXPECT_EQ(LimitValue(kMin, -3, 3, true).Value, -2);  // (kMin + 3) mod 6 is 1
  // Equal limits leave nothing to wrap round: the value is held at the limit.
  const TLimitResult limited = LimitValue(8, 4, 4, true);
  EXPECT_EQ(limited.Value, 4);
  EXPECT_FALSE(limited.WrappedDown || limited.WrappedUp);
}

TEST(WrappingArithmetic, WrapsOnOverflow) {
  EXPECT_EQ(WrappingAdd(kMax, 1), kMin);
  EXPECT_EQ(WrappingSubtract(kMin, 1), kMax);
  EXPECT_EQ(WrappingAdd(40, 5), 45);
  EXPECT_EQ(WrappingSubtract(40, 5), 35);
}

}  // namespace
