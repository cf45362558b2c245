#include "modbus/requests.h"

#include <gtest/gtest.h>

#include <limits>

#include "link_rig.h"
#include "modbus/frame_codec.h"
#include "modbus/result_codes.h"

namespace modbus {
namespace {

using testing::bytes;
using testing::LinkRig;

constexpr ExchangeTiming kTiming{1000, 100, 20};

// Runs one request against a port that answers with `replyPayload` framed.
class RequestTest : public ::testing::Test {
 protected:
  ExchangeResult read(uint8_t function, uint8_t address, int32_t start, int32_t count) {
    const LinkServices link = rig_.link();
    switch (function) {
      case 0x01:
        return ReadCoils(link, 1, 2, kTiming, address, start, count);
      case 0x02:
        return ReadDiscreteInputs(link, 1, 2, kTiming, address, start, count);
      case 0x03:
        return ReadHoldingRegisters(link, 1, 2, kTiming, address, start, count);
      default:
        return ReadInputRegisters(link, 1, 2, kTiming, address, start, count);
    }
  }
  ExchangeResult write(uint8_t function, uint8_t address, int32_t start, int32_t count,
                       const ByteString& data) {
    const LinkServices link = rig_.link();
    return function == 0x0F
               ? WriteMultipleCoils(link, 1, 2, kTiming, address, start, count, data)
               : WriteMultipleRegisters(link, 1, 2, kTiming, address, start, count, data);
  }
  void answer(const ByteString& replyPayload) { rig_.port.ReplyAtOnce(BuildFrame(replyPayload)); }
  // The payload of the last request written; request frames have the shape of replies.
  ByteString sentPayload() const {
    for (auto it = rig_.log.rbegin(); it != rig_.log.rend(); ++it) {
      if (it->rfind("WriteString ", 0) == 0) return DecodeReply(it->substr(12));
    }
    return {};
  }

  LinkRig rig_;
};

TEST_F(RequestTest, PayloadsCarryLow16BitsHighByteFirst) {
  answer(bytes({0x05, 0x03, 0x02, 0x00, 0x00}));
  read(0x03, 0x05, 0x12345, 1);
  EXPECT_EQ(sentPayload(), bytes({0x05, 0x03, 0x23, 0x45, 0x00, 0x01}));

  answer(bytes({0x00, 0x01, 0x01, 0x00}));
  read(0x01, 0x00, -1, 0x10008);
  EXPECT_EQ(sentPayload(), bytes({0x00, 0x01, 0xFF, 0xFF, 0x00, 0x08}));

  for (uint8_t function : {0x02, 0x04}) {
    answer({});
    read(function, 0x07, 0x0102, 0x0304);
    EXPECT_EQ(sentPayload(), bytes({0x07, function, 0x01, 0x02, 0x03, 0x04}));
  }
}

TEST_F(RequestTest, WritesAppendByteCountAndData) {
  answer(bytes({0x00, 0x10, 0x0F, 0xA0, 0x00, 0x02}));
  write(0x10, 0x00, 4000, 2, bytes({0x11, 0x22, 0x00, 0x44}));
  EXPECT_EQ(sentPayload(),
            bytes({0x00, 0x10, 0x0F, 0xA0, 0x00, 0x02, 0x04, 0x11, 0x22, 0x00, 0x44}));

  answer(bytes({0x00, 0x0F, 0x00, 0x00, 0x00, 0x03}));
  write(0x0F, 0x00, 0, 3, bytes({0x05}));
  EXPECT_EQ(sentPayload(), bytes({0x00, 0x0F, 0x00, 0x00, 0x00, 0x03, 0x01, 0x05}));

  answer(bytes({0x00, 0x10, 0x00, 0x00, 0x00, 0x00}));
  write(0x10, 0x00, 0, 0, {});
  EXPECT_EQ(sentPayload(), bytes({0x00, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00}));
}

TEST_F(RequestTest, ReadChecksRunInOrder) {
  // Wrong address wins over an exception code, a wrong function and a bad count.
  answer(bytes({0x02, 0x83, 0x01}));
  EXPECT_EQ(read(0x03, 0x01, 0, 1), CodeResult(0x15));
  answer(bytes({0x02, 0x05, 0x09, 0x00}));
  EXPECT_EQ(read(0x03, 0x01, 0, 1), CodeResult(0x15));
  // Exception reply from the right address, whatever its exception code.
  for (int exception : {0x01, 0x02, 0x00, 0xFF}) {
    answer(bytes({0x01, 0x83, exception}));
    EXPECT_EQ(read(0x03, 0x01, 0, 1), CodeResult(0x16));
  }
  // The exception code of another function is just a wrong function.
  answer(bytes({0x01, 0x84, 0x02}));
  EXPECT_EQ(read(0x03, 0x01, 0, 1), CodeResult(0x17));
  answer(bytes({0x01, 0x04, 0x02, 0x00, 0x00}));
  EXPECT_EQ(read(0x03, 0x01, 0, 1), CodeResult(0x17));
  // One register short: 18h when the byte count says so, 19h when only the length does.
  answer(bytes({0x01, 0x03, 0x02, 0x00, 0x01}));
  EXPECT_EQ(read(0x03, 0x01, 0, 2), CodeResult(0x18));
  answer(bytes({0x01, 0x03, 0x04, 0x00, 0x01}));
  EXPECT_EQ(read(0x03, 0x01, 0, 2), CodeResult(0x19));
  answer(bytes({0x01, 0x03, 0x04, 0x00, 0x01, 0x00, 0x02, 0x00}));
  EXPECT_EQ(read(0x03, 0x01, 0, 2), CodeResult(0x19));
  const ByteString good = bytes({0x01, 0x03, 0x04, 0x00, 0x01, 0x00, 0x02});
  answer(good);
  EXPECT_EQ(read(0x03, 0x01, 0, 2), good);
}

TEST_F(RequestTest, BitReadsExpectCountOverEightRoundedUp) {
  for (uint8_t function : {0x01, 0x02}) {
    answer(bytes({0x00, function, 0x01, 0xA5}));
    EXPECT_EQ(read(function, 0x00, 0, 8).size(), 4u);
    answer(bytes({0x00, function, 0x01, 0xA5}));
    EXPECT_EQ(read(function, 0x00, 0, 9), CodeResult(0x18));
    answer(bytes({0x00, function, 0x02, 0xA5, 0x01}));
    EXPECT_EQ(read(function, 0x00, 0, 9).size(), 5u);
    answer(bytes({0x00, function, 0x00}));
    EXPECT_EQ(read(function, 0x00, 0, 0).size(), 3u);
  }
}

TEST_F(RequestTest, RegisterReadsAbove127AlwaysGiveWrongByteCount) {
  ByteString reply = bytes({0x00, 0x04, 0xFE});
  reply += ByteString(254, '\x01');
  answer(reply);
  EXPECT_EQ(read(0x04, 0x00, 0, 127), reply);

  // 256 data bytes cannot be counted in one byte: whatever the count byte says.
  for (int countByte : {0x00, 0xFF}) {
    ByteString big = bytes({0x00, 0x03, countByte});
    big += ByteString(256, '\x02');
    answer(big);
    EXPECT_EQ(read(0x03, 0x00, 0, 128), CodeResult(0x18));
  }
}

TEST_F(RequestTest, ExtremeCountsDoNotOverflow) {
  for (int32_t count :
       {std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::min(), -8, 0x7FFFFFF9}) {
    for (uint8_t function : {0x01, 0x02, 0x03, 0x04}) {
      answer(bytes({0x00, function, 0x01, 0x00}));
      EXPECT_EQ(read(function, 0x00, 0, count), CodeResult(0x18)) << count;
    }
  }
}

TEST_F(RequestTest, WriteAcceptsAnySixByteEcho) {
  for (uint8_t function : {0x0F, 0x10}) {
    const ByteString echo = bytes({0x00, function, 0x99, 0x99, 0x77, 0x77});
    answer(echo);
    EXPECT_EQ(write(function, 0x00, 0, 1, bytes({0x00, 0x01})), echo);
    answer(bytes({0x00, function, 0x00, 0x00, 0x00, 0x01, 0x00}));
    EXPECT_EQ(write(function, 0x00, 0, 1, bytes({0x00, 0x01})), CodeResult(0x1A));
    answer(bytes({0x00, function, 0x00, 0x00, 0x00}));
    EXPECT_EQ(write(function, 0x00, 0, 1, bytes({0x00, 0x01})), CodeResult(0x1A));
    answer(bytes({0x00, function | 0x80, 0x02}));
    EXPECT_EQ(write(function, 0x00, 0, 1, bytes({0x00, 0x01})), CodeResult(0x16));
    answer(bytes({0x03, function, 0x00, 0x00, 0x00, 0x01}));
    EXPECT_EQ(write(function, 0x00, 0, 1, bytes({0x00, 0x01})), CodeResult(0x15));
    answer(bytes({0x00, 0x06, 0x00, 0x00, 0x00, 0x01}));
    EXPECT_EQ(write(function, 0x00, 0, 1, bytes({0x00, 0x01})), CodeResult(0x17));
  }
}

TEST_F(RequestTest, TransactionCodesPassThroughUnchanged) {
  // No reply: 02h, never judged as a wrong address or byte count.
  EXPECT_EQ(read(0x03, 0x01, 0, 1), CodeResult(0x02));
  EXPECT_EQ(write(0x10, 0x01, 0, 1, bytes({0, 0})), CodeResult(0x02));
  // A rejected frame keeps the codec's code.
  rig_.port.ReplyAtOnce(":01830378\r\n");
  EXPECT_EQ(read(0x03, 0x01, 0, 1), CodeResult(0x09));
  rig_.port.ReplyAtOnce("\x15\x16\x17");
  EXPECT_EQ(read(0x01, 0x01, 0, 1), CodeResult(0x04));
  rig_.port.FailOn("Open");
  EXPECT_EQ(write(0x0F, 0x01, 0, 1, bytes({0})), CodeResult(0x03));
}

}  // namespace
}  // namespace modbus
