#include "sim/modbus_slave.h"

#include <gtest/gtest.h>

#include <string>

namespace sim {
namespace {

std::string bytes(std::initializer_list<int> list) {
  std::string s;
  for (int b : list) s.push_back(static_cast<char>(b));
  return s;
}

class ModbusSlaveTest : public ::testing::Test {
 protected:
  std::string ask(const std::string& request) {
    const auto reply = HandleRequest(instrument_, request);
    EXPECT_TRUE(reply.has_value());
    return reply.value_or("");
  }
  Instrument instrument_;
};

TEST_F(ModbusSlaveTest, AnswersEveryFunctionOfTheMap) {
  std::string r = ask(bytes({0, 0x03, 0, 120, 0, 6}));
  ASSERT_EQ(r.size(), 15u);
  EXPECT_EQ(r.substr(0, 3), bytes({0, 0x03, 12}));
  EXPECT_EQ(r.substr(3), instrument_.holdingBytes(120, 6));

  r = ask(bytes({0, 0x04, 0, 0, 0, 13}));
  EXPECT_EQ(r.substr(0, 3), bytes({0, 0x04, 26}));
  EXPECT_EQ(r.size(), 29u);

  r = ask(bytes({0, 0x10, 0, 3, 0, 1, 2, 4, 50}));
  EXPECT_EQ(r, bytes({0, 0x10, 0, 3, 0, 1})) << "echo of start and count";
  EXPECT_EQ(instrument_.holdingBytes(3, 1), bytes({4, 50}));

  r = ask(bytes({0, 0x0F, 0, 3, 0, 1, 1, 1}));
  EXPECT_EQ(r, bytes({0, 0x0F, 0, 3, 0, 1}));
  r = ask(bytes({0, 0x01, 0, 0, 0, 4}));
  EXPECT_EQ(r, bytes({0, 0x01, 1, instrument_.relayStates()}));
  r = ask(bytes({0, 0x02, 0, 1, 0, 3}));
  EXPECT_EQ(r, bytes({0, 0x02, 1, (instrument_.setpointStates() >> 1) & 0x7}));
}

TEST_F(ModbusSlaveTest, ListensToAddressZeroAndItsOwnOnly) {
  instrument_.setNetworkAddress(17);
  EXPECT_EQ(ask(bytes({17, 0x03, 0, 0, 0, 1})).substr(0, 3), bytes({17, 0x03, 2}));
  EXPECT_FALSE(HandleRequest(instrument_, bytes({18, 0x03, 0, 0, 0, 1})).has_value());
  EXPECT_FALSE(HandleRequest(instrument_, bytes({0})).has_value());
}

TEST_F(ModbusSlaveTest, ExceptionRepliesNameTheFault) {
  EXPECT_EQ(ask(bytes({0, 0x06, 0, 0, 0, 1})), bytes({0, 0x86, 0x01})) << "unknown function";
  EXPECT_EQ(ask(bytes({0, 0x2B})), bytes({0, 0xAB, 0x01}));
  EXPECT_EQ(ask(bytes({0, 0x03, 0x0F, 0xA0, 0, 4})), bytes({0, 0x83, 0x02})) << "HR4000";
  EXPECT_EQ(ask(bytes({0, 0x04, 0, 13, 0, 1})), bytes({0, 0x84, 0x02}));
  EXPECT_EQ(ask(bytes({0, 0x03, 0, 0, 0, 0})), bytes({0, 0x83, 0x03})) << "count 0";
  EXPECT_EQ(ask(bytes({0, 0x03, 0, 0, 0, 126})), bytes({0, 0x83, 0x03})) << "count > 125";
  EXPECT_EQ(ask(bytes({0, 0x01, 0, 0, 0x07, 0xD1})), bytes({0, 0x81, 0x03})) << "> 2000 coils";
  EXPECT_EQ(ask(bytes({0, 0x03, 0, 0, 0})), bytes({0, 0x83, 0x03})) << "short request";
  EXPECT_EQ(ask(bytes({0, 0x10, 0, 3, 0, 1, 4, 1, 2, 3, 4})), bytes({0, 0x90, 0x03}))
      << "byte count does not match the register count";
  EXPECT_EQ(ask(bytes({0, 0x10, 0, 3, 0, 1, 2, 1})), bytes({0, 0x90, 0x03})) << "data short";
  EXPECT_EQ(ask(bytes({0, 0x10, 0, 120, 0, 1, 2, 1, 2})), bytes({0, 0x90, 0x02}));
  EXPECT_EQ(ask(bytes({0, 0x0F, 0, 0, 0, 9, 1, 0xFF})), bytes({0, 0x8F, 0x03}));
}

TEST_F(ModbusSlaveTest, LongestReadsFitTheirReplies) {
  // 125 registers would run past HR185 from 0; from 61 they end at 185.
  const std::string r = ask(bytes({0, 0x03, 0, 61, 0, 125}));
  ASSERT_EQ(r.size(), 253u);
  EXPECT_EQ(static_cast<uint8_t>(r[2]), 250);
}

}  // namespace
}  // namespace sim
