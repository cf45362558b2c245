#include "device/debug_data_texts.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>

#include "device/general_single_text.h"

namespace device_test {
namespace {

void appendSingle(std::string& bytes, float value) {
  const auto bits = std::bit_cast<uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<char>(bits >> shift));
}

// Address, function, byte count and the 26 bytes of input registers 0..12.
std::string currentDataResult() {
  std::string r("\x00\x04\x1A", 3);
  r += std::string("\x05\x07\x0D\x03\x1C\x02\x18", 7);  // 13:07:05, day 3, 28.02.24
  r += '\x99';                                          // not shown
  r += std::string("\x05\x84", 2);                      // fault word 8405h
  r += std::string("\xAA\xBB\xCC\xDD", 4);              // setpoints, relays: not shown
  appendSingle(r, 21.5f);
  appendSingle(r, 1048576.25f);
  appendSingle(r, 123456789.0f);
  return r;
}

TEST(DebugDataTexts, ShowTheCurrentDataBlockOfAnyResultThatHoldsIt) {
  const device::DebugDataTexts expected{
      "Сек 5",  "Мин 7",         "Час 13",  "Нед 3",         "День 28",           "Мес 2",
      "Год 24", "Ошибка: 33797", "XC 21,5", "Физ 1048576,3", "Знач 1,2345679E008"};
  const std::string block = currentDataResult();
  EXPECT_EQ(device::FormatDebugDataTexts(block, ","), expected);
  // A read of 14 registers: the block is its first 29 bytes.
  std::string longer = block + std::string("\x01\x02", 2);
  longer[2] = 28;
  EXPECT_EQ(device::FormatDebugDataTexts(longer, ","), expected);
  EXPECT_EQ(device::FormatDebugDataTexts(block, ".").coldJunction, "XC 21.5");
}

TEST(DebugDataTexts, AResultWithoutTheWholeBlockEmptiesEveryField) {
  const std::string block = currentDataResult();
  for (const std::string& shorter :
       {std::string(1, '\x02'), block.substr(0, 5), block.substr(0, 28), std::string()}) {
    EXPECT_EQ(device::FormatDebugDataTexts(shorter, ","), device::DebugDataTexts{})
        << shorter.size();
  }
}

TEST(GeneralSingle, EightSignificantDigitsFixedOrScientific) {
  const struct {
    float value;
    const char* text;
  } cases[] = {
      {0.0f, "0"},
      {-0.0f, "0"},
      {21.5f, "21,5"},
      {-123.456f, "-123,456"},
      {0.1f, "0,1"},               // 0.100000001490116...
      {1048576.25f, "1048576,3"},  // a tie goes away from zero
      {-1048576.25f, "-1048576,3"},
      {12345678.0f, "12345678"},        // eight digits before the separator
      {123456789.0f, "1,2345679E008"},  // nine
      {99999999.0f, "1E008"},           // the nearest single is 10^8
      {0.0001f, "0,000099999997"},      // 9.99999975e-5: fixed down to 10^-5
      {0.00001f, "9,9999997E-006"},     // just below 0.00001
      {std::numeric_limits<float>::denorm_min(), "1,4012985E-045"},
      {std::numeric_limits<float>::max(), "3,4028235E038"},
      {std::numeric_limits<float>::quiet_NaN(), "NAN"},
      {std::numeric_limits<float>::infinity(), "INF"},
      {-std::numeric_limits<float>::infinity(), "-INF"},
  };
  for (const auto& c : cases) EXPECT_EQ(device::FormatGeneralSingle(c.value, ","), c.text);
  EXPECT_EQ(device::FormatGeneralSingle(-123.456f, "."), "-123.456");
}

}  // namespace
}  // namespace device_test
