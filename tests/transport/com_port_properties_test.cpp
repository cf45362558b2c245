#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "transport/af_com_port.h"
#include "transport/line_parameter_block.h"
#include "transport/port_errors.h"

namespace transport {
namespace {

TEST(LineParameterBlock, DefaultsGive115200EightNoneOneFlags1011h) {
  const DCB dcb = BuildLineParameterBlock(LineSettings{});
  unsigned char expected[28] = {};
  expected[0] = 28;                                            // DCBlength
  expected[4] = 0x00, expected[5] = 0xC2, expected[6] = 0x01;  // 115200
  expected[8] = 0x11, expected[9] = 0x10;                      // flags 1011h
  expected[18] = 8;                                            // ByteSize
  expected[21] = 17, expected[22] = 19;                        // XON, XOFF
  EXPECT_EQ(std::memcmp(&dcb, expected, sizeof expected), 0);
}

TEST(LineParameterBlock, FlowControlAndOptionsSetTheirFlagBits) {
  struct Case {
    TAfFlowControl flow;
    TAfComOptions options;
    uint32_t flags;
  };
  const Case cases[] = {
      {TAfFlowControl::fwNone, {}, 0x1011},
      {TAfFlowControl::fwXOnXOff, {}, 0x1311},
      {TAfFlowControl::fwRtsCts, {}, 0x2015},  // RTS handshake replaces RTS enabled
      {TAfFlowControl::fwDtrDsr, {}, 0x1029},  // DTR handshake replaces DTR enabled
      {TAfFlowControl::fwNone, {TAfComOption::coParityCheck}, 0x1013},
      {TAfFlowControl::fwNone, {TAfComOption::coDsrSensitivity}, 0x1051},
      {TAfFlowControl::fwNone, {TAfComOption::coIgnoreXOff}, 0x1091},
      {TAfFlowControl::fwNone, {TAfComOption::coErrorChar}, 0x1411},
      {TAfFlowControl::fwNone, {TAfComOption::coStripNull}, 0x1811},
  };
  for (const Case& c : cases) {
    LineSettings s;
    s.flowControl = c.flow;
    s.options = c.options;
    EXPECT_EQ(BuildLineParameterBlock(s).Flags, c.flags) << std::hex << c.flags;
  }
  LineSettings off;
  off.dtr = false;
  off.rts = false;
  EXPECT_EQ(BuildLineParameterBlock(off).Flags, 0x0001u);
}

TEST(LineParameterBlock, EnumerationsGiveTheirCodes) {
  LineSettings s;
  s.databits = TAfDatabits::db5;
  s.parity = TAfParity::paSpace;
  s.stopbits = TAfStopbits::sbTwo;
  s.baudRate = TAfBaudrate::br110;
  const DCB dcb = BuildLineParameterBlock(s);
  EXPECT_EQ(dcb.ByteSize, 5);
  EXPECT_EQ(dcb.Parity, 4);
  EXPECT_EQ(dcb.StopBits, 2);
  EXPECT_EQ(dcb.BaudRate, 110u);
  s.baudRate = TAfBaudrate::brUser;
  s.userBaudRate = 31250;
  EXPECT_EQ(BuildLineParameterBlock(s).BaudRate, 31250u);
}

class ClosedPort : public ::testing::Test {
 protected:
  TAfComPort port_{"CommModBus"};
};

TEST_F(ClosedPort, StartsWithTheDefaults) {
  EXPECT_FALSE(port_.AutoOpen());
  EXPECT_EQ(port_.BaudRate(), TAfBaudrate::br115200);
  EXPECT_EQ(port_.ComNumber(), 0);
  EXPECT_EQ(port_.Databits(), TAfDatabits::db8);
  EXPECT_TRUE(port_.DTR());
  EXPECT_TRUE(port_.RTS());
  EXPECT_EQ(port_.EventThreadPriority(), TThreadPriority::tpNormal);
  EXPECT_EQ(port_.WriteThreadPriority(), TThreadPriority::tpHighest);
  EXPECT_EQ(port_.FlowControl(), TAfFlowControl::fwNone);
  EXPECT_EQ(port_.InBufSize(), 4096);
  EXPECT_EQ(port_.OutBufSize(), 2048);
  EXPECT_EQ(port_.Parity(), TAfParity::paNone);
  EXPECT_EQ(port_.Stopbits(), TAfStopbits::sbOne);
  EXPECT_EQ(port_.UserBaudRate(), 0);
  EXPECT_EQ(port_.XOnChar(), 17);
  EXPECT_EQ(port_.XOffChar(), 19);
  EXPECT_EQ(port_.XOnLim(), 0);
  EXPECT_EQ(port_.XOffLim(), 0);
  EXPECT_EQ(port_.LineParameterBlock(), BuildLineParameterBlock(LineSettings{}));
}

TEST_F(ClosedPort, UserBaudRateAndBrUserFollowEachOther) {
  port_.SetUserBaudRate(31250);
  EXPECT_EQ(port_.BaudRate(), TAfBaudrate::brUser);
  EXPECT_EQ(port_.LineParameterBlock().BaudRate, 31250u);
  port_.SetBaudRate(TAfBaudrate::br9600);
  EXPECT_EQ(port_.UserBaudRate(), 0);
  EXPECT_EQ(port_.LineParameterBlock().BaudRate, 9600u);
  // The port interface: table rates pick the enumeration, others brUser.
  port_.SetBaudRate(uint32_t{57600});
  EXPECT_EQ(port_.BaudRate(), TAfBaudrate::br57600);
  port_.SetBaudRate(uint32_t{250000});
  EXPECT_EQ(port_.BaudRate(), TAfBaudrate::brUser);
  EXPECT_EQ(port_.LineParameterBlock().BaudRate, 250000u);
}

TEST_F(ClosedPort, FlowControlRecomputesTheLimits) {
  port_.SetFlowControl(TAfFlowControl::fwXOnXOff);
  EXPECT_EQ(port_.XOnLim(), 1024);
  EXPECT_EQ(port_.XOffLim(), 3072);
  EXPECT_EQ(port_.LineParameterBlock().XonLim, 1024);
  EXPECT_EQ(port_.LineParameterBlock().XoffLim, 3072);
  port_.SetInBufSize(100);
  EXPECT_EQ(port_.XOnLim(), 25);
  EXPECT_EQ(port_.XOffLim(), 75);
  port_.SetFlowControl(TAfFlowControl::fwNone);
  EXPECT_EQ(port_.XOnLim(), 0);
  EXPECT_EQ(port_.XOffLim(), 0);
}

TEST_F(ClosedPort, SettersThatMustNotRebuildLeaveTheBlockAlone) {
  const DCB before = port_.LineParameterBlock();
  port_.SetInBufSize(8192);
  port_.SetXOnLim(100);
  EXPECT_EQ(port_.XOffLim(), 8092);
  port_.SetXOffLim(9000);
  EXPECT_EQ(port_.XOnLim(), static_cast<uint16_t>(8192 - 9000));  // modulo 65536
  port_.SetXOffLim(5000);
  EXPECT_EQ(port_.XOnLim(), 3192);
  port_.SetDTR(false);
  port_.SetRTS(false);
  port_.SetEventThreadPriority(TThreadPriority::tpIdle);
  EXPECT_EQ(port_.LineParameterBlock(), before);
  // The next rebuild carries all of them.
  port_.SetParity(TAfParity::paEven);
  const DCB after = port_.LineParameterBlock();
  EXPECT_EQ(after.XonLim, 3192);
  EXPECT_EQ(after.XoffLim, 5000);
  EXPECT_EQ(after.Flags, 0x0001u);
  EXPECT_EQ(after.Parity, 2);
}

TEST_F(ClosedPort, OperationsOnAClosedPortAreHarmless) {
  std::vector<std::string> events;
  port_.OnPortClose = [&](TAfCustomSerialPort&) { events.push_back("close"); };
  port_.OnPortOpen = [&](TAfCustomSerialPort&) { events.push_back("open"); };
  port_.OnSyncEvent = [&](TAfCustomSerialPort&, TAfCoreEvent, uint32_t) {
    events.push_back("sync");
  };
  port_.Close();
  EXPECT_EQ(events, std::vector<std::string>{"close"});
  EXPECT_EQ(port_.ReadString(), "");
  EXPECT_EQ(port_.InBufUsed(), 0);
  EXPECT_EQ(port_.OutBufFree(), 0);
  EXPECT_NO_THROW(port_.WriteString(""));
  try {
    port_.WriteString(std::string(17, 'a'));
    FAIL();
  } catch (const EAfComPortError& e) {
    EXPECT_STREQ(e.what(), "Write data error [requested: 17, free: 0] - CommModBus ");
  }
  char buf[4];
  EXPECT_THROW(port_.ReadData(buf, 4), EAfComPortError);
}

TEST_F(ClosedPort, ReadDataOfNoBytesFailsLikeEveryRead) {
  for (const int32_t count : {0, -1}) {
    try {
      port_.ReadData(nullptr, count);
      ADD_FAILURE() << count;
    } catch (const EAfComPortError& e) {
      EXPECT_STREQ(e.what(), "Read data error - CommModBus ");
    }
  }
}

TEST_F(ClosedPort, OpenWithNumberZeroOrAMissingDeviceFails) {
  bool opened = false;
  port_.OnPortOpen = [&](TAfCustomSerialPort&) { opened = true; };
  try {
    port_.Open();
    FAIL();
  } catch (const EAfComPortCoreError& e) {
    EXPECT_STREQ(e.what(), "Invalid port number (COM0)");
  }
  port_.SetDevicePathResolver([](int) { return std::string("/nonexistent/ttyX"); });
  port_.SetComNumber(5);
  try {
    port_.Open();
    FAIL();
  } catch (const EAfComPortCoreError& e) {
    EXPECT_STREQ(e.what(), "Invalid port number (COM5)");
  }
  EXPECT_FALSE(opened);
  EXPECT_FALSE(port_.IsOpen());
  EXPECT_NO_THROW(port_.Close());
}

}  // namespace
}  // namespace transport
