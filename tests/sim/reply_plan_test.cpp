#include "sim/reply_plan.h"

#include <gtest/gtest.h>

#include "modbus/frame_codec.h"

namespace sim {
namespace {

const std::string kRequest("\x00\x03\x00\x78\x00\x01", 6);
const std::string kReply("\x00\x03\x02\x05\x03", 5);

TEST(ReplyPlan, PlainReplyIsTheCodecFrame) {
  const ReplyPlan p = PlanReply(Fault::kNone, 0, kRequest, kReply);
  EXPECT_EQ(p.first, modbus::BuildFrame(kReply));
  EXPECT_TRUE(p.second.empty());
  EXPECT_FALSE(p.silent || p.stream);
  EXPECT_EQ(p.extraDelayMs, 0);
}

TEST(ReplyPlan, EachFaultSpoilsTheReplyItsOwnWay) {
  EXPECT_TRUE(PlanReply(Fault::kSilent, 0, kRequest, kReply).silent);

  const std::string badLrc = PlanReply(Fault::kBadLrc, 0, kRequest, kReply).first;
  EXPECT_EQ(modbus::DecodeReply(badLrc), std::string(1, '\x09'));
  EXPECT_EQ(badLrc.substr(0, badLrc.size() - 4),
            modbus::BuildFrame(kReply).substr(0, badLrc.size() - 4));

  const std::string wrong =
      modbus::DecodeReply(PlanReply(Fault::kWrongAddress, 0, kRequest, kReply).first);
  ASSERT_EQ(wrong.size(), kReply.size());
  EXPECT_NE(wrong[0], kRequest[0]);
  EXPECT_EQ(wrong.substr(1), kReply.substr(1));

  EXPECT_EQ(modbus::DecodeReply(PlanReply(Fault::kExceptionAll, 0, kRequest, kReply).first),
            std::string("\x00\x83\x04", 3));

  const std::string lower = PlanReply(Fault::kLowerCaseHex, 0, kRequest, kReply).first;
  EXPECT_EQ(lower, ":0003020503f3\r\n");
  EXPECT_EQ(modbus::DecodeReply(lower), std::string(1, '\x09')) << "the codec reads no lower case";

  const ReplyPlan split = PlanReply(Fault::kSplitReply, 0, kRequest, kReply);
  EXPECT_EQ(split.first + split.second, modbus::BuildFrame(kReply));
  EXPECT_FALSE(split.first.empty());
  EXPECT_FALSE(split.second.empty());
  EXPECT_EQ(split.pauseMs, kDefaultSplitPauseMs);
  EXPECT_EQ(PlanReply(Fault::kSplitReply, 70, kRequest, kReply).pauseMs, 70);

  EXPECT_EQ(PlanReply(Fault::kExtraDelay, 0, kRequest, kReply).extraDelayMs, kDefaultExtraDelayMs);
  EXPECT_EQ(PlanReply(Fault::kExtraDelay, 300, kRequest, kReply).extraDelayMs, 300);
  const ReplyPlan stream = PlanReply(Fault::kEndlessStream, 0, kRequest, kReply);
  EXPECT_TRUE(stream.stream);
  EXPECT_EQ(stream.first, modbus::BuildFrame(kReply));
}

}  // namespace
}  // namespace sim
