#include <gtest/gtest.h>

#include "device/date_time_text.h"
#include "device/decimal_separator.h"
#include "device/pad_left.h"

namespace device_test {
namespace {

TEST(PadLeft, FillsShortTextsAndLeavesLongOnes) {
  EXPECT_EQ(device::PadLeft("5", 2, "0"), "05");
  EXPECT_EQ(device::PadLeft("", 2, "0"), "00");
  EXPECT_EQ(device::PadLeft("12", 2, "0"), "12");
  EXPECT_EQ(device::PadLeft("123", 2, "0"), "123");
  EXPECT_EQ(device::PadLeft("x", 3, "ab"), "ababx");  // the fill, (width - length) times
  EXPECT_EQ(device::PadLeft("x", -1, "0"), "x");
}

TEST(PadLeft, CountsCharactersNotBytes) {
  EXPECT_EQ(device::PadLeft("Пн", 3, " "), " Пн");
  EXPECT_EQ(device::PadLeft("Пн", 2, " "), "Пн");
}

TEST(NormalizeDecimalSeparator, ReplacesBothSeparatorsWithTheLocales) {
  EXPECT_EQ(device::NormalizeDecimalSeparator("23,4", "."), "23.4");
  EXPECT_EQ(device::NormalizeDecimalSeparator("23.4", ","), "23,4");
  EXPECT_EQ(device::NormalizeDecimalSeparator("1.2,3", ","), "1,2,3");
  EXPECT_EQ(device::NormalizeDecimalSeparator(" -0.5 ", ","), " -0,5 ");
}

TEST(DateTimeText, TwoDigitPartsJoinedByTheSeparator) {
  EXPECT_EQ(device::DateText(5, 3, 9), "05.03.09");
  EXPECT_EQ(device::DateText(7, 12, 100), "07.12.100");
  EXPECT_EQ(device::TimeText(9, 5, 3), "09:05:03");
  EXPECT_EQ(device::TimeText(14, 0, 59, "."), "14.00.59");
}

}  // namespace
}  // namespace device_test
