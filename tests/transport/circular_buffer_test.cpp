#include "transport/circular_buffer.h"

#include <gtest/gtest.h>

#include <string>

namespace transport {
namespace {

std::string runAt(const TAfCircularBuffer& b) {
  return std::string(b.ReadPtr(), static_cast<size_t>(b.ContiguousUsed()));
}

TEST(CircularBuffer, FullAndEmptyAreToldApartByTheFlag) {
  TAfCircularBuffer b(8);
  EXPECT_EQ(b.BufUsed(), 0);
  EXPECT_EQ(b.BufFree(), 8);
  EXPECT_TRUE(b.Write("12345678", 8));  // exactly the free space
  EXPECT_EQ(b.BufUsed(), 8);
  EXPECT_EQ(b.BufFree(), 0);
  EXPECT_EQ(runAt(b), "12345678");
  EXPECT_FALSE(b.Write("9", 1));  // one more byte is refused
  EXPECT_EQ(b.BufUsed(), 8);
  EXPECT_TRUE(b.Remove(8));
  EXPECT_EQ(b.BufUsed(), 0);
  EXPECT_EQ(b.ContiguousUsed(), 0);
}

TEST(CircularBuffer, RefusesWholeWritesThatDoNotFitAndEmptyOnes) {
  TAfCircularBuffer b(8);
  EXPECT_TRUE(b.Write("abcde", 5));
  EXPECT_FALSE(b.Write("wxyz", 4));  // all or nothing
  EXPECT_EQ(b.BufUsed(), 5);
  EXPECT_FALSE(b.Write("x", 0));
  EXPECT_FALSE(b.Write("x", -1));
  EXPECT_FALSE(b.Remove(6));
  EXPECT_EQ(runAt(b), "abcde");
}

TEST(CircularBuffer, WrappedDataComesOutAsTwoRunsInOrder) {
  TAfCircularBuffer b(8);
  ASSERT_TRUE(b.Write("abcdef", 6));
  ASSERT_TRUE(b.Remove(6));
  ASSERT_TRUE(b.Write("123456", 6));  // 2 bytes up to the end, 4 from 0
  EXPECT_EQ(b.BufUsed(), 6);
  EXPECT_EQ(runAt(b), "12");
  ASSERT_TRUE(b.Remove(2));
  EXPECT_EQ(runAt(b), "3456");
  // Writing behind a wrapped read index fills the gap to the full state.
  ASSERT_TRUE(b.Write("7890", 4));
  EXPECT_EQ(b.BufFree(), 0);
  EXPECT_EQ(runAt(b), "34567890");
  ASSERT_TRUE(b.Remove(8));
  EXPECT_EQ(b.BufUsed(), 0);
}

TEST(CircularBuffer, FullAfterWrapReportsTheRunToTheEnd) {
  TAfCircularBuffer b(4);
  ASSERT_TRUE(b.Write("ab", 2));
  ASSERT_TRUE(b.Remove(2));
  ASSERT_TRUE(b.Write("wxyz", 4));
  EXPECT_EQ(b.BufUsed(), 4);
  EXPECT_EQ(runAt(b), "wx");
  b.Clear();
  EXPECT_EQ(b.BufUsed(), 0);
  EXPECT_EQ(b.BufFree(), 4);
}

}  // namespace
}  // namespace transport
