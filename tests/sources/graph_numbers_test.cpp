#include "sources/graph_numbers.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>

namespace {

TEST(FormatGraphReal, WritesTwentyThreeCharactersWithAFourDigitExponent) {
  EXPECT_EQ(FormatGraphReal(75), " 7.50000000000000E+0001");
  EXPECT_EQ(FormatGraphReal(0), " 0.00000000000000E+0000");
  EXPECT_EQ(FormatGraphReal(-12.5), "-1.25000000000000E+0001");
  EXPECT_EQ(FormatGraphReal(0.001), " 1.00000000000000E-0003");
  EXPECT_EQ(FormatGraphReal(1e300), " 1.00000000000000E+0300");
  EXPECT_EQ(FormatGraphReal(-2.5e-308), "-2.50000000000000E-0308");
  for (const double v : {75.0, 0.0, -1e-5, 123456.789, -std::numeric_limits<double>::max()})
    EXPECT_EQ(FormatGraphReal(v).size(), static_cast<size_t>(kGraphRealWidth)) << v;
}

TEST(FormatGraphReal, WritesNegativeZeroWithABlankSign) { EXPECT_EQ(FormatGraphReal(-0.0), " 0.00000000000000E+0000"); }

TEST(FormatGraphReal, RoundsToFifteenSignificantDigitsToNearest) {
  EXPECT_EQ(FormatGraphReal(1.0 / 3.0), " 3.33333333333333E-0001");
  EXPECT_EQ(FormatGraphReal(2.0 / 3.0), " 6.66666666666667E-0001");
  EXPECT_EQ(FormatGraphReal(123456789.123456789), " 1.23456789123457E+0008");
  EXPECT_EQ(FormatGraphReal(9.999999999999999), " 1.00000000000000E+0001");
}

TEST(FormatGraphReal, IgnoresTheUsersLocale) {
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = previous ? previous : "C";
  bool commaLocale = false;
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8", "de_DE"})
    if (std::setlocale(LC_NUMERIC, name) && std::localeconv()->decimal_point[0] == ',') {
      commaLocale = true;
      break;
    }
  if (!commaLocale) {
    std::setlocale(LC_NUMERIC, saved.c_str());
    GTEST_SKIP() << "no locale with a decimal comma is installed";
  }
  const std::string written = FormatGraphReal(75.25);
  double v = 0;
  const bool read = ParseGraphReal("75.25", v);
  std::setlocale(LC_NUMERIC, saved.c_str());
  EXPECT_EQ(written, " 7.52500000000000E+0001");
  EXPECT_TRUE(read);
  EXPECT_EQ(v, 75.25);
}

TEST(ParseGraphReal, ReadsSignDigitsFractionAndExponent) {
  const std::pair<const char*, double> cases[] = {
      {"75", 75},    {"-12.5", -12.5},
      {"+3", 3},     {"7.50000000000000E+0001", 75},
      {"1e3", 1000}, {"1E-0003", 0.001},
      {"-0", 0},     {"2.5e+2", 250},
      {"007", 7},    {"1.7976931348623157e308", std::numeric_limits<double>::max()},
  };
  for (const auto& [text, expected] : cases) {
    double v = -99;
    EXPECT_TRUE(ParseGraphReal(text, v)) << text;
    EXPECT_EQ(v, expected) << text;
  }
  double negativeZero = 1;
  ASSERT_TRUE(ParseGraphReal("-0.0", negativeZero));
  EXPECT_TRUE(std::signbit(negativeZero));
}

TEST(ParseGraphReal, RefusesWhatTheFileFormDoesNotAllow) {
  for (const char* text : {"75.",
                           ".5",
                           "1e",
                           "1e+",
                           "0x10",
                           "inf",
                           "nan",
                           "-inf",
                           "75,0",
                           "",
                           "-",
                           "+",
                           "1.5.2",
                           "1e5.0",
                           "++1",
                           "+-1",
                           " 1",
                           "1 ",
                           "1f",
                           "1e400",
                           "-1e400",
                           "1e-400",
                           "1.7976931348623159e308"}) {
    double v = 42;
    EXPECT_FALSE(ParseGraphReal(text, v)) << '"' << text << '"';
    EXPECT_EQ(v, 42) << text;
  }
}

TEST(ParseGraphReal, ReadsBackEveryWrittenValueExactlyToFifteenDigits) {
  for (const double v : {75.0, -12.5, 0.001, 1e-300, 123.456, -987654.321, 1.0 / 7.0}) {
    double back = 0;
    std::string written = FormatGraphReal(v);
    if (written.front() == ' ') written.erase(0, 1);
    ASSERT_TRUE(ParseGraphReal(written, back)) << v;
    EXPECT_EQ(FormatGraphReal(back), FormatGraphReal(v));
    EXPECT_NEAR(back, v, std::abs(v) * 1e-14);
  }
}

TEST(ParseGraphInteger, ReadsDecimalsThatFitInThirtyTwoBits) {
  const std::pair<const char*, int32_t> cases[] = {
      {"0", 0}, {"20", 20}, {"-1", -1}, {"+7", 7}, {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1}};
  for (const auto& [text, expected] : cases) {
    int32_t v = -99;
    EXPECT_TRUE(ParseGraphInteger(text, v)) << text;
    EXPECT_EQ(v, expected) << text;
  }
  for (const char* text : {"2147483648", "-2147483649", "1.0", "1e3", "$10", "0x10", "", "-", "1a", "twenty"}) {
    int32_t v = 42;
    EXPECT_FALSE(ParseGraphInteger(text, v)) << text;
    EXPECT_EQ(v, 42) << text;
  }
}

}  // namespace
