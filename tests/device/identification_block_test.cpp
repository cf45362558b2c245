#include "device/identification_block.h"

#include <gtest/gtest.h>

#include "scripted_link.h"

namespace device_test {
namespace {

using device::DataImage;
using device::IdentificationBlock;

TEST(IdentificationBlock, DecodesTheLittleEndianImage) {
  const std::string data{"\x05\x03\x09\xAA\x40\xE2\x01\x00\xFB\xFF\x07\xBB", 12};
  const auto image = DataImage::fromReadReply(ReadReply(data), 6);
  ASSERT_TRUE(image);
  const auto block = device::DecodeIdentificationBlock(*image);
  ASSERT_TRUE(block);
  EXPECT_EQ(block->day, 5);
  EXPECT_EQ(block->month, 3);
  EXPECT_EQ(block->year, 9);
  EXPECT_EQ(block->serial, 123456);
  EXPECT_EQ(block->version, -5);
  EXPECT_EQ(block->typeCode, 7);
}

TEST(IdentificationBlock, RefusesAnImageTooShortForTheBlock) {
  EXPECT_FALSE(device::DecodeIdentificationBlock(DataImage(11)));
  EXPECT_TRUE(device::DecodeIdentificationBlock(DataImage(12)));
}

TEST(IdentificationBlock, FormatsTheFourTexts) {
  IdentificationBlock block;
  block.day = 5;
  block.month = 3;
  block.year = 9;
  block.serial = -42;
  block.version = 105;
  block.typeCode = 7;
  auto texts = device::FormatIdentification(block);
  EXPECT_EQ(texts.type, "ULM5");
  EXPECT_EQ(texts.version, "10.5");
  EXPECT_EQ(texts.date, "05.03.09");
  EXPECT_EQ(texts.serial, "-42");

  // Date bytes of three digits keep them all; any other type code is unknown.
  block.day = 100;
  block.month = 12;
  block.year = 255;
  block.typeCode = 0;
  texts = device::FormatIdentification(block);
  EXPECT_EQ(texts.date, "100.12.255");
  EXPECT_EQ(texts.type, "Неиз.приб");
}

TEST(IdentificationBlock, VersionIsTenthsWithTheSignInFront) {
  EXPECT_EQ(device::FormatVersion(12), "1.2");
  EXPECT_EQ(device::FormatVersion(105), "10.5");
  EXPECT_EQ(device::FormatVersion(7), "0.7");
  EXPECT_EQ(device::FormatVersion(0), "0.0");
  EXPECT_EQ(device::FormatVersion(-5), "-0.5");
  EXPECT_EQ(device::FormatVersion(-15), "-1.5");
  EXPECT_EQ(device::FormatVersion(-32768), "-3276.8");
  EXPECT_EQ(device::FormatVersion(32767), "3276.7");
}

}  // namespace
}  // namespace device_test
