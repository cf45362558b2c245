#include "device/data_image.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "device/reply_length.h"
#include "scripted_link.h"

namespace device_test {
namespace {

using device::DataImage;

TEST(DataImage, TakesOnlyAReplyOfExactlyTheReadsLength) {
  const std::string data(12, '\x11');
  EXPECT_TRUE(DataImage::fromReadReply(ReadReply(data), 6));
  EXPECT_FALSE(DataImage::fromReadReply(ReadReply(data.substr(1)), 6));
  EXPECT_FALSE(DataImage::fromReadReply(ReadReply(data + 'x'), 6));
  // A one-byte result code is never data, whatever the count.
  for (int32_t count : {0, 1, 6}) {
    EXPECT_FALSE(DataImage::fromReadReply(ResultCode(0x02), count));
    EXPECT_FALSE(device::IsReadSuccess(ResultCode(0x02), count));
  }
  EXPECT_FALSE(DataImage::fromReadReply(ReadReply(""), 0));
  EXPECT_FALSE(DataImage::fromReadReply(ReadReply(""), -1));
}

TEST(DataImage, DataByteIIsReplyByteIPlusThree) {
  const auto image = DataImage::fromReadReply(ReadReply("\x01\x02\x03\x04"), 2);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->size(), 4u);
  EXPECT_EQ(*image->u8(0), 1);
  EXPECT_EQ(*image->u8(3), 4);
}

TEST(DataImage, DecodesLeastSignificantByteFirst) {
  const auto image = DataImage::fromReadReply(
      ReadReply(std::string{"\x34\x12\xFF\xFF\x78\x56\x34\x92\x00\x00\x80\x3F\x00\x00", 14}), 7);
  ASSERT_TRUE(image);
  EXPECT_EQ(*image->u16(0), 0x1234);
  EXPECT_EQ(*image->i16(2), -1);
  EXPECT_EQ(*image->u16(2), 0xFFFF);
  EXPECT_EQ(*image->i32(4), static_cast<int32_t>(0x92345678u));
  EXPECT_EQ(*image->f32(8), 1.0f);
  // A field may start in the second half of a register.
  EXPECT_EQ(*image->u16(1), 0xFF12);
}

TEST(DataImage, FieldsReachingPastTheImageAreAbsent) {
  const DataImage image(4);
  EXPECT_TRUE(image.u8(3));
  EXPECT_FALSE(image.u8(4));
  EXPECT_FALSE(image.u16(3));
  EXPECT_TRUE(image.i32(0));
  EXPECT_FALSE(image.i32(1));
  EXPECT_FALSE(image.f32(2));
  EXPECT_FALSE(image.u16(std::numeric_limits<size_t>::max()));
  EXPECT_FALSE(image.i32(std::numeric_limits<size_t>::max() - 1));
}

TEST(DataImage, EncodesTheSameImageItDecodes) {
  DataImage image(11);
  EXPECT_TRUE(image.setU8(0, 0xAB));
  EXPECT_TRUE(image.setI16(1, -2));
  EXPECT_TRUE(image.setI32(3, 0x01020304));
  EXPECT_TRUE(image.setF32(7, -2.5f));
  EXPECT_EQ(image.bytes(), std::string("\xAB\xFE\xFF\x04\x03\x02\x01\x00\x00\x20\xC0", 11));
  EXPECT_EQ(*image.f32(7), -2.5f);

  // Writes that do not fit change nothing.
  const std::string before = image.bytes();
  EXPECT_FALSE(image.setU8(11, 1));
  EXPECT_FALSE(image.setU16(10, 1));
  EXPECT_FALSE(image.setF32(8, 1.0f));
  EXPECT_FALSE(image.setI32(std::numeric_limits<size_t>::max(), 1));
  EXPECT_EQ(image.bytes(), before);
}

}  // namespace
}  // namespace device_test
