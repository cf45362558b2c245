#include "device/single_text.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>
#include <optional>

namespace device_test {
namespace {

using device::FormatSingle;
using device::ParseSingle;

float single(uint32_t bits) { return std::bit_cast<float>(bits); }

TEST(SingleText, ShowsTheExactValueToFifteenDigitsInGeneralNotation) {
  struct Case {
    uint32_t bits;
    const char* text;
  };
  const Case cases[] = {
      {0x3F800000, "1"},
      {0x3DCCCCCD, "0,100000001490116"},  // the single nearest to 0.1
      {0x37800000, "1,52587890625E-5"},   // 2^-16
      {0xBF9D70A4, "-1,23000001907349"},
      {0x42F6E979, "123,456001281738"},
      {0x4B800000, "16777216"},
      {0xC47A2000, "-1000,5"},
      {0x34800000, "2,38418579101563E-7"},  // 2^-22 ends in a half at the 16th digit
      // Fixed from 0.0001 up to 10^15, scientific on both sides.
      {0x38D1B717, "9,99999974737875E-5"},
      {0x38D1B718, "0,000100000004749745"},
      {0x58635FA9, "999999986991104"},
      {0x58635FAA, "1,00000005409997E15"},
      // The ends of the range.
      {0x00000001, "1,40129846432482E-45"},   // smallest subnormal
      {0x807FFFFF, "-1,17549421069244E-38"},  // largest subnormal
      {0x00800000, "1,17549435082229E-38"},   // smallest normal
      {0x7F7FFFFF, "3,40282346638529E38"},
      {0x00000000, "0"},
      {0x80000000, "-0"},
      // Not numbers: named, never converted back.
      {0x7FC00000, "NAN"},
      {0xFFC00001, "NAN"},
      {0x7F800000, "INF"},
      {0xFF800000, "-INF"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatSingle(single(c.bits), ","), c.text) << std::hex << c.bits;
  }
  EXPECT_EQ(FormatSingle(single(0x3DCCCCCD), "."), "0.100000001490116");
  EXPECT_EQ(FormatSingle(single(0x37800000), "."), "1.52587890625E-5");
}

TEST(SingleText, TypedNumbersGiveTheNearestSingle) {
  struct Case {
    const char* text;
    uint32_t bits;
  };
  const Case cases[] = {
      {"1,25", 0x3FA00000},
      {"  -1,25  ", 0xBFA00000},
      {"+,5", 0x3F000000},
      {"5,", 0x40A00000},
      {"0,1", 0x3DCCCCCD},
      {"1E-1", 0x3DCCCCCD},
      {"1,5e3", 0x44BB8000},
      {"-0", 0x80000000},
      {"000,000", 0x00000000},
      // Just above the midpoint of 1 and the next single: through double it
      // would land on the midpoint and round to 1.
      {"1,00000005960464477539063", 0x3F800001},
      // Subnormals to the nearest subnormal.
      {"1e-40", 0x000116C2},
      {"1,4e-45", 0x00000001},
      {"7,1e-46", 0x00000001},
      {"1,1754942e-38", 0x007FFFFF},
      // Below half the smallest subnormal: zero of the number's sign.
      {"7e-46", 0x00000000},
      {"-1e-50", 0x80000000},
      {"0,0001e-99999999999999999999", 0x00000000},
      // The largest single, up to where rounding would give infinity.
      {"3,4028235e38", 0x7F7FFFFF},
      {"3,4028235677973366e38", 0x7F7FFFFF},
  };
  for (const Case& c : cases) {
    const auto value = ParseSingle(c.text, ",");
    ASSERT_TRUE(value) << c.text;
    EXPECT_EQ(std::bit_cast<uint32_t>(*value), c.bits) << c.text;
  }
  EXPECT_EQ(ParseSingle("1.25", "."), 1.25f);
}

TEST(SingleText, RefusesAnythingElse) {
  for (const char* bad : {"",
                          "   ",
                          "-",
                          "+",
                          ",",
                          "1,2,3",
                          "1 2",
                          "1.25",
                          "e5",
                          "1e",
                          "1e+",
                          "--1",
                          "0x1p3",
                          "inf",
                          "INF",
                          "-INF",
                          "nan",
                          "NAN",
                          "3,4028236e38",
                          "-1e39",
                          "1e99999999999999999999",
                          "1,5 E3"}) {
    EXPECT_EQ(ParseSingle(bad, ","), std::nullopt) << '"' << bad << '"';
  }
}

}  // namespace
}  // namespace device_test
