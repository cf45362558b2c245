// The simulator through the project's own link: the serial port component on
// the simulator's pseudo-terminal, the exchange and the function requests.
#include <gtest/gtest.h>

#include <string>

#include "modbus/exchange.h"
#include "modbus/requests.h"
#include "modbus/result_codes.h"
#include "modbus/steady_tick.h"
#include "sim/simulator.h"
#include "transport/af_com_port.h"
#include "transport/dispatcher_event_pump.h"

namespace sim {
namespace {

constexpr uint8_t kCom = 1;
constexpr int kBaud115200 = 6;
constexpr int kBaud9600 = 2;
// The configurator's fast timing set.
constexpr modbus::ExchangeTiming kFast{300, 50, 50};

std::string code(modbus::ResultCode c) { return std::string(1, static_cast<char>(c)); }

class SimulatorEndToEnd : public ::testing::Test {
 protected:
  SimulatorEndToEnd() {
    port_.SetDevicePathResolver([this](int) { return sim_.devicePath(); });
  }
  static SimulatorOptions options() {
    SimulatorOptions o;
    o.turnaroundMs = 1;
    return o;
  }
  std::string readIdentification(int baud = kBaud115200, modbus::ExchangeTiming t = kFast) {
    return modbus::ReadHoldingRegisters(link_, kCom, baud, t, 0, 120, 6);
  }

  Simulator sim_{options()};
  transport::TAfComPort port_{"CommModBus"};
  modbus::SteadyTick tick_;
  transport::DispatcherEventPump pump_;
  modbus::LinkServices link_{port_, tick_, pump_, nullptr};
};

TEST_F(SimulatorEndToEnd, EveryFunctionThroughTheSerialComponent) {
  const std::string id = readIdentification();
  ASSERT_EQ(id.size(), 15u);
  EXPECT_EQ(id.substr(3), sim_.instrument().holdingBytes(120, 6));

  EXPECT_EQ(modbus::ReadInputRegisters(link_, kCom, kBaud115200, kFast, 0, 0, 13).size(), 29u);
  EXPECT_EQ(modbus::ReadCoils(link_, kCom, kBaud115200, kFast, 0, 0, 4).size(), 4u);
  EXPECT_EQ(modbus::ReadDiscreteInputs(link_, kCom, kBaud115200, kFast, 0, 0, 4).size(), 4u);
  EXPECT_EQ(modbus::WriteMultipleCoils(link_, kCom, kBaud115200, kFast, 0, 0, 4, "\x05").size(),
            6u);
  // The calibration command of "Установить ток" for A03: 1Ah, 0, 5860.
  const std::string command("\x1A\x00\xE4\x16", 4);
  EXPECT_EQ(
      modbus::WriteMultipleRegisters(link_, kCom, kBaud115200, kFast, 0, 9000, 2, command).size(),
      6u);
  EXPECT_EQ(sim_.instrument().outputCurrentCode(), 5860);

  EXPECT_EQ(modbus::ReadHoldingRegisters(link_, kCom, kBaud115200, kFast, 0, 4000, 4),
            code(modbus::kExceptionReply));
}

TEST_F(SimulatorEndToEnd, SpeedSearchFindsTheInstrumentsSpeedOnly) {
  sim_.instrument().setInterfaceBaudIndex(kBaud9600);
  for (int baud = 0; baud <= 6; ++baud) {
    const std::string r = readIdentification(baud);
    if (baud == kBaud9600) {
      EXPECT_EQ(r.size(), 15u) << baud;
    } else {
      EXPECT_EQ(r, code(modbus::kNoAnswer)) << baud;
    }
  }
}

TEST_F(SimulatorEndToEnd, EachFaultReachesTheLinkAsItsResultCode) {
  struct Case {
    Fault fault;
    int paramMs;
    std::string expected;
  };
  const Case cases[] = {
      {Fault::kSilent, 0, code(modbus::kNoAnswer)},
      {Fault::kBadLrc, 0, code(modbus::kLrcError)},
      {Fault::kWrongAddress, 0, code(modbus::kWrongAddress)},
      {Fault::kExceptionAll, 0, code(modbus::kExceptionReply)},
      {Fault::kLowerCaseHex, 0, code(modbus::kLrcError)},
      // Cut at the pause: the first half has no LF.
      {Fault::kSplitReply, 400, code(modbus::kNoLf)},
      // Past the response delay of 50 ms nothing has come.
      {Fault::kExtraDelay, 400, code(modbus::kNoAnswer)},
      // Still growing at the overall limit.
      {Fault::kEndlessStream, 0, code(modbus::kNoAnswer)},
  };
  for (const Case& c : cases) {
    sim_.setFault(c.fault, c.paramMs);
    EXPECT_EQ(readIdentification(), c.expected) << static_cast<int>(c.fault);
    sim_.setFault(Fault::kNone);
    // A held-back reply still goes out first, as from a real instrument;
    // the next exchange starts on a quiet line.
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (sim_.repliesPending() != 0 && std::chrono::steady_clock::now() < limit) {
      pump_.ProcessEvents(std::chrono::milliseconds(5));
    }
    ASSERT_EQ(sim_.repliesPending(), 0u);
    // Whatever the fault left on the line is purged when the port is opened
    // again, so the next exchange gets its own reply.
    EXPECT_EQ(readIdentification().size(), 15u) << "after " << static_cast<int>(c.fault);
  }
}

TEST_F(SimulatorEndToEnd, ExtraDelayWithinTheResponseDelayStillAnswers) {
  sim_.setFault(Fault::kExtraDelay, 100);
  EXPECT_EQ(readIdentification(kBaud115200, {300, 400, 50}).size(), 15u);
}

}  // namespace
}  // namespace sim
