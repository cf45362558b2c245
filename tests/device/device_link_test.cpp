#include "device/device_link.h"

#include <gtest/gtest.h>

#include "device/link_parameters.h"
#include "fake_port.h"
#include "modbus/frame_codec.h"

namespace device_test {
namespace {

using Calls = std::vector<std::string>;

class DeviceLinkTest : public ::testing::Test {
 protected:
  FakePort port_;
  FakeClock clock_;
  device::DeviceLink link_{modbus::LinkServices{port_, clock_, clock_}};
};

TEST_F(DeviceLinkTest, PortCheckClosesNumbersOpensAndClosesAgain) {
  link_.parameters().portNumber = 5;
  EXPECT_TRUE(link_.portCheck());
  EXPECT_EQ(port_.calls, (Calls{"Close", "SetComNumber 5", "Open", "Close"}));
  EXPECT_TRUE(port_.written.empty());
}

TEST_F(DeviceLinkTest, PortCheckFailsOnAnyStep) {
  for (const char* step : {"Close", "SetComNumber", "Open"}) {
    port_.calls.clear();
    port_.failAt = step;
    EXPECT_FALSE(link_.portCheck()) << step;
    EXPECT_TRUE(port_.written.empty());
  }
  EXPECT_FALSE(link_.busy());
}

TEST_F(DeviceLinkTest, RequestsGoToAddressZeroWithTheRecordsPortSpeedAndTiming) {
  link_.parameters() = {7, 2, device::kStandardTiming};
  port_.reply = modbus::BuildFrame(std::string("\x00\x03\x02\x34\x12", 5));

  const auto result = link_.readHoldingRegisters(120, 1);
  EXPECT_EQ(result, std::string("\x00\x03\x02\x34\x12", 5));
  ASSERT_EQ(port_.written.size(), 1u);
  EXPECT_EQ(port_.written[0], modbus::BuildFrame(std::string("\x00\x03\x00\x78\x00\x01", 6)));
  EXPECT_EQ(port_.calls.at(1), "SetComNumber 7");
  EXPECT_EQ(port_.calls.at(2), "SetBaudRate 9600");

  port_.reply = modbus::BuildFrame(std::string("\x00\x10\x00\x0C\x00\x01", 6));
  EXPECT_EQ(link_.writeMultipleRegisters(12, 1, std::string("\x08\x00", 2)).size(), 6u);
  EXPECT_EQ(port_.written.back(),
            modbus::BuildFrame(std::string("\x00\x10\x00\x0C\x00\x01\x02\x08\x00", 9)));

  port_.reply = modbus::BuildFrame(std::string("\x00\x04\x02\x01\x02", 5));
  EXPECT_EQ(link_.readInputRegisters(0, 1).size(), 5u);
  EXPECT_EQ(port_.written.back(), modbus::BuildFrame(std::string("\x00\x04\x00\x00\x00\x01", 6)));
}

TEST_F(DeviceLinkTest, SilentInstrumentIsReportedAfterTheResponseDelay) {
  link_.parameters().timing = device::kStandardTiming;
  const uint32_t start = clock_.Tick();
  const auto result = link_.readHoldingRegisters(120, 6);
  EXPECT_EQ(result.size(), 1u);
  EXPECT_EQ(clock_.Tick() - start, 2000u);
}

TEST_F(DeviceLinkTest, NothingReachesThePortWhileAnExchangeWaits) {
  port_.reply = modbus::BuildFrame(std::string("\x00\x03\x02\x34\x12", 5));
  bool sawBusy = false;
  modbus::ExchangeResult nestedRead, nestedWrite;
  bool nestedCheck = true, nestedExclusive = true, nestedClose = true;
  size_t callsBefore = 0, callsAfter = 0;
  clock_.onPump = [&] {
    sawBusy = link_.busy();
    callsBefore = port_.calls.size();
    nestedRead = link_.readInputRegisters(0, 13);
    nestedWrite = link_.writeMultipleRegisters(4000, 4, std::string(8, '\0'));
    nestedCheck = link_.portCheck();
    nestedExclusive = link_.runExclusive([](const modbus::LinkServices&) {});
    nestedClose = link_.closePort();
    callsAfter = port_.calls.size();
  };

  EXPECT_EQ(link_.readHoldingRegisters(0, 1).size(), 5u);
  EXPECT_TRUE(sawBusy);
  EXPECT_EQ(nestedRead, std::string(1, static_cast<char>(device::DeviceLink::kBusyResult)));
  EXPECT_EQ(nestedWrite.size(), 1u);
  EXPECT_FALSE(nestedCheck);
  EXPECT_FALSE(nestedExclusive);
  EXPECT_FALSE(nestedClose);
  EXPECT_EQ(callsAfter, callsBefore);
  EXPECT_EQ(port_.written.size(), 1u);

  // Free again once the exchange has ended.
  clock_.onPump = nullptr;
  EXPECT_FALSE(link_.busy());
  EXPECT_TRUE(link_.closePort());
}

TEST_F(DeviceLinkTest, RunExclusiveHoldsTheLinkAndHandsOverItsServices) {
  bool ran = false;
  EXPECT_TRUE(link_.runExclusive([&](const modbus::LinkServices& services) {
    ran = true;
    EXPECT_TRUE(link_.busy());
    services.port.SetComNumber(9);
    EXPECT_EQ(port_.calls, (Calls{"SetComNumber 9"})) << "the services reach the port";
    EXPECT_EQ(link_.readHoldingRegisters(0, 1).size(), 1u);
  }));
  EXPECT_TRUE(ran);
  EXPECT_TRUE(port_.written.empty());
  EXPECT_FALSE(link_.busy());
}

TEST_F(DeviceLinkTest, BusyFlagIsReleasedWhenExclusiveWorkThrows) {
  EXPECT_THROW(link_.runExclusive([](const modbus::LinkServices&) { throw 1; }), int);
  EXPECT_FALSE(link_.busy());
}

TEST_F(DeviceLinkTest, ClosePortDuringAnExchangeClosesOnceTheExchangeHasEnded) {
  // A silent instrument: after 02h the exchange leaves the port open.
  size_t callsAtClose = 0;
  clock_.onPump = [&] {
    if (callsAtClose != 0) return;
    EXPECT_FALSE(link_.closePort());
    callsAtClose = port_.calls.size();
  };
  EXPECT_EQ(link_.readInputRegisters(0, 13).size(), 1u);
  ASSERT_GT(callsAtClose, 0u);
  // Nothing closed under the waiting exchange; one close after it.
  EXPECT_EQ(Calls(port_.calls.begin() + static_cast<long>(callsAtClose), port_.calls.end()),
            (Calls{"Close"}));
}

TEST_F(DeviceLinkTest, ShutDownLetsTheExchangeUnderWayEndThenClosesAndTakesNoMore) {
  // A silent instrument: the exchange waits out its time and leaves the port open.
  size_t callsAtShutDown = 0;
  clock_.onPump = [&] {
    if (callsAtShutDown != 0) return;
    link_.shutDown();
    callsAtShutDown = port_.calls.size();
  };
  const uint32_t sent = clock_.Tick();
  EXPECT_EQ(link_.readHoldingRegisters(0, 1).size(), 1u);
  EXPECT_EQ(clock_.Tick() - sent, 2000u) << "the exchange under way ends as usual";
  ASSERT_GT(callsAtShutDown, 0u);
  EXPECT_EQ(Calls(port_.calls.begin() + static_cast<long>(callsAtShutDown), port_.calls.end()),
            (Calls{"Close"}));

  clock_.onPump = nullptr;
  const size_t callsBefore = port_.calls.size();
  EXPECT_EQ(link_.readInputRegisters(0, 13),
            std::string(1, static_cast<char>(device::DeviceLink::kBusyResult)));
  EXPECT_EQ(link_.writeMultipleRegisters(4000, 4, std::string(8, '\0')).size(), 1u);
  EXPECT_FALSE(link_.portCheck());
  bool ran = false;
  EXPECT_FALSE(link_.runExclusive([&](const modbus::LinkServices&) { ran = true; }));
  EXPECT_FALSE(ran);
  EXPECT_EQ(port_.calls.size(), callsBefore) << "the port is not touched again";
  EXPECT_EQ(port_.written.size(), 1u);
}

TEST_F(DeviceLinkTest, AfterShutDownAWriteAlreadyBegunRunsWholeAndTheCloseFollowsEachRequest) {
  port_.reply = modbus::BuildFrame(std::string("\x00\x10\x00\x02\x00\x01", 6));
  {
    const device::WholeWrite whole(link_);
    clock_.onPump = [&] { link_.shutDown(); };
    EXPECT_EQ(link_.writeMultipleRegisters(2, 1, std::string(2, '\0')).size(), 6u);
    clock_.onPump = nullptr;
    EXPECT_FALSE(port_.calls.empty());
    EXPECT_EQ(port_.calls.back(), "Close");
    EXPECT_TRUE(link_.portCheck());
    EXPECT_EQ(link_.writeMultipleRegisters(4, 1, std::string(2, '\0')).size(), 6u);
    EXPECT_EQ(port_.calls.back(), "Close") << "never left open once the window has gone";
  }
  EXPECT_EQ(port_.written.size(), 2u);
  EXPECT_EQ(link_.writeMultipleRegisters(6, 1, std::string(2, '\0')).size(), 1u)
      << "a write begun after the close is refused";
  EXPECT_EQ(port_.written.size(), 2u);
}

TEST_F(DeviceLinkTest, TellsHowEachPortCheckAndRequestEnded) {
  using Kind = device::LinkOutcome::Kind;
  const modbus::PortFailure refused{modbus::PortFailureKind::kNoPermission, 13, "/dev/ttyUSB0"};
  const struct {
    const char* what;
    const char* failAt;
    std::string reply;
    device::LinkOutcome expected;
  } cases[] = {
      {"answered", "", modbus::BuildFrame(std::string("\x00\x03\x02\x34\x12", 5)), {}},
      {"port refused", "Open", "", {Kind::kPortFailed, refused, 0}},
      {"silent", "", "", {Kind::kNoReply, {}, 0}},
      {"exception",
       "",
       modbus::BuildFrame(std::string("\x00\x83\x02", 3)),
       {Kind::kExceptionReply, {}, 2}},
      {"garbled", "", ":0003023412B4\r\n", {Kind::kBadReply, {}, 0}},
  };
  std::vector<device::LinkOutcome> told;
  link_.setOutcomeListener([&](const device::LinkOutcome& outcome) { told.push_back(outcome); });
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    told.clear();
    port_.failAt = c.failAt;
    port_.reply = c.reply;
    port_.failure = *c.failAt != '\0' ? refused : modbus::PortFailure{};
    const bool checked = link_.portCheck();
    link_.readHoldingRegisters(0, 1);
    ASSERT_EQ(told.size(), 2u);
    EXPECT_EQ(told[0], checked ? device::LinkOutcome{} : c.expected) << "the port check";
    EXPECT_EQ(told[1], c.expected) << "the request";
  }
  // A request the busy link refused never reached the port: nothing to tell.
  told.clear();
  link_.runExclusive([&](const modbus::LinkServices&) { link_.readHoldingRegisters(0, 1); });
  EXPECT_TRUE(told.empty());
}

TEST_F(DeviceLinkTest, ClosePortIgnoresErrors) {
  port_.failAt = "Close";
  EXPECT_TRUE(link_.closePort());
  EXPECT_EQ(port_.calls, (Calls{"Close"}));
}

}  // namespace
}  // namespace device_test
