#include "device/number_parsing.h"

#include <gtest/gtest.h>

namespace device_test {
namespace {

using device::ParseDecimal;
using device::ParseInteger;

TEST(ParseInteger, AcceptsLeadingBlanksAndASignOnly) {
  EXPECT_EQ(ParseInteger("4012"), 4012);
  EXPECT_EQ(ParseInteger(" 5"), 5);
  EXPECT_EQ(ParseInteger("-1"), -1);
  EXPECT_EQ(ParseInteger("+9"), 9);
  EXPECT_EQ(ParseInteger("007"), 7);
  for (const char* bad : {"", " ", "  ", "5 ", "-", "+", "1 2", "8000.5", "0x10", "12a", "--1"}) {
    EXPECT_FALSE(ParseInteger(bad)) << '"' << bad << '"';
  }
}

TEST(ParseInteger, RefusesWhatDoesNotFit32Bits) {
  EXPECT_EQ(ParseInteger("2147483647"), INT32_MAX);
  EXPECT_EQ(ParseInteger("-2147483648"), INT32_MIN);
  EXPECT_FALSE(ParseInteger("2147483648"));
  EXPECT_FALSE(ParseInteger("-2147483649"));
  EXPECT_FALSE(ParseInteger("99999999999999999999999"));
}

TEST(ParseInteger, ConversionErrorQuotesTheText) {
  EXPECT_EQ(device::IntegerConversionErrorText("2x"), "'2x' is not a valid integer value");
}

TEST(ParseDecimal, ReadsTheLocalesSeparatorWithBlanksAround) {
  EXPECT_EQ(ParseDecimal("23,4", ","), 23.4);
  EXPECT_EQ(ParseDecimal("23.4", "."), 23.4);
  EXPECT_EQ(ParseDecimal(" 012.5 ", "."), 12.5);
  EXPECT_EQ(ParseDecimal("-01.2", "."), -1.2);
  EXPECT_EQ(ParseDecimal("+.5", "."), 0.5);
  EXPECT_EQ(ParseDecimal("5.", "."), 5.0);
  EXPECT_EQ(ParseDecimal("1,5E3", ","), 1500.0);
  EXPECT_EQ(ParseDecimal("2e-1", ","), 0.2);
}

TEST(ParseDecimal, RefusesAnythingElse) {
  for (const char* bad : {"", "    ", "-", " + ", ".", "23.4", "1,2,3", "1 2", "e5", "1e", "1e+",
                          "0x1p3", "inf", "nan", "1e999"}) {
    EXPECT_FALSE(ParseDecimal(bad, ",")) << '"' << bad << '"';
  }
  EXPECT_FALSE(ParseDecimal("12.5", ""));
}

}  // namespace
}  // namespace device_test
