#include "device/number_text.h"

#include <gtest/gtest.h>

#include <limits>

namespace device_test {
namespace {

using device::FormatMeasuredValue;

TEST(MeasuredValue, RoundsToSixSignificantDigitsThenToTheDecimals) {
  EXPECT_EQ(FormatMeasuredValue(21.96f, 1, ","), "22,0");
  EXPECT_EQ(FormatMeasuredValue(1234.5678f, 3, ","), "1234,570");
  EXPECT_EQ(FormatMeasuredValue(1234.5678f, 3, "."), "1234.570");
  EXPECT_EQ(FormatMeasuredValue(0.0, 3, ","), "0,000");
  EXPECT_EQ(FormatMeasuredValue(0.000123456789, 3, ","), "0,000");
  EXPECT_EQ(FormatMeasuredValue(0.0123456789, 3, ","), "0,012");
  EXPECT_EQ(FormatMeasuredValue(99.9996, 3, ","), "100,000");
  EXPECT_EQ(FormatMeasuredValue(999999.4, 3, ","), "999999,000");
  EXPECT_EQ(FormatMeasuredValue(2.5, 0, ","), "3");
  EXPECT_EQ(FormatMeasuredValue(0.25, 1, ","), "0,3");
}

// Values of the measurement page (3 decimals, the temperature 1) and of the
// archive grid (1 decimal) in both separators. The run under ru_RU.UTF-8
// makes the C library write a decimal comma of its own, which must not leak in.
TEST(MeasuredValue, TakesOnlyTheGivenSeparatorWhateverTheCLibraryLocale) {
  const struct {
    double value;
    int decimals;
    const char* comma;
    const char* point;
  } cases[] = {
      {1234.5678f, 3, "1234,570", "1234.570"},
      {21.96f, 1, "22,0", "22.0"},
      {12.0f, 3, "12,000", "12.000"},
      {12.0f, 1, "12,0", "12.0"},
      {-12.3f, 1, "-12,3", "-12.3"},
      {-1234.5678f, 3, "-1234,570", "-1234.570"},
      {4.04f, 1, "4,0", "4.0"},
      {-1.2f, 1, "-1,2", "-1.2"},
      {0.5, 0, "1", "1"},
      {1234567.0, 3, "1,23457E+06", "1.23457E+06"},
      {-1.5e-7, 3, "0,000", "0.000"},
      {-3.0e38, 1, "-3,00000E+38", "-3.00000E+38"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatMeasuredValue(c.value, c.decimals, ","), c.comma) << c.value;
    EXPECT_EQ(FormatMeasuredValue(c.value, c.decimals, "."), c.point) << c.value;
  }
}

TEST(MeasuredValue, NegativeValuesKeepTheirSignUnlessTheyRoundToZero) {
  EXPECT_EQ(FormatMeasuredValue(-21.96f, 1, ","), "-22,0");
  EXPECT_EQ(FormatMeasuredValue(-0.06, 1, ","), "-0,1");
  EXPECT_EQ(FormatMeasuredValue(-0.04, 1, ","), "0,0");
  EXPECT_EQ(FormatMeasuredValue(-0.0, 1, ","), "0,0");
}

TEST(MeasuredValue, MoreThanSixIntegerDigitsGoScientific) {
  EXPECT_EQ(FormatMeasuredValue(1234567.0, 3, ","), "1,23457E+06");
  EXPECT_EQ(FormatMeasuredValue(999999.7, 1, "."), "1.00000E+06");  // rounds up to 7 digits
  EXPECT_EQ(FormatMeasuredValue(-3.0e38, 1, ","), "-3,00000E+38");
}

TEST(MeasuredValue, NonNumbersFromTheInstrumentAreNamed) {
  EXPECT_EQ(FormatMeasuredValue(std::numeric_limits<double>::quiet_NaN(), 1, ","), "NAN");
  EXPECT_EQ(FormatMeasuredValue(std::numeric_limits<double>::infinity(), 1, ","), "INF");
  EXPECT_EQ(FormatMeasuredValue(-std::numeric_limits<double>::infinity(), 1, ","), "-INF");
}

}  // namespace
}  // namespace device_test
