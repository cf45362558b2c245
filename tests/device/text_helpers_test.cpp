#include <gtest/gtest.h>

#include "device/decimal_separator.h"
#include "device/pad_left.h"

namespace device_test {
namespace {

TEST(PadLeft, FillsShortTextsAndLeavesLongOnes) {
  EXPECT_EQ(device::PadLeft("5", 2, "0"), "05");
  EXPECT_EQ(device::PadLeft("", 2, "0"), "00");
  EXPECT_EQ(device::PadLeft("12", 2, "0"), "12");
  EXPECT_EQ(device::PadLeft("123", 2, "0"), "123");
  EXPECT_EQ(device::PadLeft("12", 4, "0"), "0012");
  EXPECT_EQ(device::PadLeft("x", 3, "ab"), "ababx");  // the fill, (width - length) times
  EXPECT_EQ(device::PadLeft("x", -1, "0"), "x");
}

TEST(PadLeft, CountsCharactersNotBytes) {
  EXPECT_EQ(device::PadLeft("Пн", 3, " "), " Пн");
  EXPECT_EQ(device::PadLeft("Пн", 2, " "), "Пн");
}

TEST(NormalizeDecimalSeparator, ReplacesBothSeparatorsWithTheLocales) {
  EXPECT_EQ(device::NormalizeDecimalSeparator("23,4", "."), "23.4");
  EXPECT_EQ(device::NormalizeDecimalSeparator("23.4", "."), "23.4");
  EXPECT_EQ(device::NormalizeDecimalSeparator("23.4", ","), "23,4");
  EXPECT_EQ(device::NormalizeDecimalSeparator("1.2,3", ","), "1,2,3");
  EXPECT_EQ(device::NormalizeDecimalSeparator(" -0.5 ", ","), " -0,5 ");
  EXPECT_EQ(device::NormalizeDecimalSeparator("", ","), "");
}

}  // namespace
}  // namespace device_test
