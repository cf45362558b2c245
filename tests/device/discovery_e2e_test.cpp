// "Найти" through the whole stack: DeviceLink over TAfComPort on a
// pseudo-terminal, with the simulator as the instrument.
//
// Timing: the fixed standard set (2500/2000/500 ms) runs on a tick scaled by
// 5, so the response delay takes 400 ms of real time, the exchange delay
// 100 ms and the overall limit 500 ms. The simulator answers 3 ms after the
// request's LF and writes its reply in one piece, so the reply is complete
// more than 100 times faster than the response delay allows (room for a
// loaded two-core machine under sanitizers), and no gap inside a reply comes
// near the 100 ms that would end it early. A silent search then costs about
// 7 x 400 ms.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "device/device_link.h"
#include "device/discovery.h"
#include "event_log.h"
#include "modbus/steady_tick.h"
#include "sim/simulator.h"
#include "transport/af_com_port.h"
#include "transport/dispatcher_event_pump.h"
#include "transport/main_thread_dispatcher.h"

namespace device_test {
namespace {

using device::DiscoveryOutcome;

constexpr uint32_t kTimeScale = 5;
constexpr int kTurnaroundMs = 3;

sim::SimulatorOptions simulatorAt(int baudIndex, sim::Fault fault = sim::Fault::kNone) {
  sim::SimulatorOptions options;
  options.turnaroundMs = kTurnaroundMs;
  options.interfaceBaudIndex = baudIndex;
  options.fault = fault;
  return options;
}

// Members in order of construction; the link goes first and the simulator
// last on destruction.
struct Stack {
  explicit Stack(const sim::SimulatorOptions& options) : simulator(options) {
    simulator.instrument().setManufactureDate(5, 3, 9);
    simulator.instrument().setSerialNumber(123456);
    simulator.instrument().setVersion(12);
    simulator.instrument().setTypeCode(7);
    // COM1 is the simulator; every other number names a device that is not there.
    port.SetDevicePathResolver([path = simulator.devicePath()](int number) {
      return number == 1 ? path : "/nonexistent/ulm5-COM" + std::to_string(number);
    });
  }

  DiscoveryOutcome find(RecordingDiscoveryView& view, RecordingSink& sink) {
    return device::RunDiscovery(link, view, sink);
  }

  sim::Simulator simulator;
  transport::TAfComPort port{"CommModBus"};
  modbus::SteadyTick tick{kTimeScale};
  transport::DispatcherEventPump pump;
  device::DeviceLink link{modbus::LinkServices{port, tick, pump}};
};

class DiscoveryEndToEnd : public ::testing::Test {
 protected:
  EventLog log_;
  RecordingDiscoveryView view_{log_};
  RecordingSink sink_{log_};
};

TEST_F(DiscoveryEndToEnd, FindsTheInstrumentAtTheSelectedSpeed) {
  Stack stack(simulatorAt(6));
  view_.baudIndex = 6;
  EXPECT_EQ(stack.find(view_, sink_), DiscoveryOutcome::kShown);
  EXPECT_EQ(log_, (EventLog{"stop timer", "disable", "show ULM5 1.2 05.03.09 123456", "enable"}));
  EXPECT_EQ(stack.simulator.requestsServed(), 1u);
}

TEST_F(DiscoveryEndToEnd, SearchFinds9600AndLeavesItSelected) {
  Stack stack(simulatorAt(2));
  view_.baudIndex = 6;
  view_.autoFind = true;
  EXPECT_EQ(stack.find(view_, sink_), DiscoveryOutcome::kFound);
  EXPECT_EQ(log_,
            (EventLog{"stop timer", "disable", "select 0", "select 1", "select 2",
                      "show ULM5 1.2 05.03.09 123456", "enable", "confirm Обнаружен прибор"}));
  EXPECT_EQ(view_.baudIndex, 2);
  EXPECT_EQ(stack.link.parameters().baudIndex, 2);
  // Asked at 2400 and 4800 first, which the instrument at 9600 ignores.
  EXPECT_GE(stack.simulator.speedMismatches(), 2u);
}

TEST_F(DiscoveryEndToEnd, SilentInstrumentIsNotFoundAfterSevenAttempts) {
  Stack stack(simulatorAt(2, sim::Fault::kSilent));
  view_.autoFind = true;
  EXPECT_EQ(stack.find(view_, sink_), DiscoveryOutcome::kNotFound);
  EXPECT_EQ(log_,
            (EventLog{"stop timer", "disable", "select 0", "select 1", "select 2", "select 3",
                      "select 4", "select 5", "select 6", "error Прибор не обнаружен", "enable"}));
  EXPECT_EQ(view_.baudIndex, 6);

  log_.clear();
  view_.autoFind = false;
  EXPECT_EQ(stack.find(view_, sink_), DiscoveryOutcome::kNoConnection);
  EXPECT_EQ(log_, (EventLog{"stop timer", "disable", "error Нет связи с прибором", "enable"}));
}

TEST_F(DiscoveryEndToEnd, MissingPortCannotBeOpened) {
  Stack stack(simulatorAt(2));
  view_.portIndex = 1;  // COM2
  view_.autoFind = true;
  EXPECT_EQ(stack.find(view_, sink_), DiscoveryOutcome::kPortError);
  EXPECT_EQ(log_, (EventLog{"stop timer", "disable", "error Не могу открыть порт", "enable"}));
  EXPECT_EQ(stack.simulator.requestsServed() + stack.simulator.speedMismatches(), 0u);
}

TEST_F(DiscoveryEndToEnd, OtherTypeCodeIsUnknownWithTheRestOfTheBlock) {
  Stack stack(simulatorAt(3));
  stack.simulator.instrument().setTypeCode(9);
  stack.simulator.instrument().setVersion(105);
  stack.simulator.instrument().setManufactureDate(31, 12, 100);
  view_.baudIndex = 3;
  EXPECT_EQ(stack.find(view_, sink_), DiscoveryOutcome::kShown);
  EXPECT_EQ(view_.shown.type, "Неиз.приб");
  EXPECT_EQ(view_.shown.version, "10.5");
  EXPECT_EQ(view_.shown.date, "31.12.100");
  EXPECT_EQ(view_.shown.serial, "123456");
}

TEST_F(DiscoveryEndToEnd, PressDuringTheExchangeDoesNotStartASecondOne) {
  Stack stack(simulatorAt(2));
  view_.baudIndex = 2;
  EventLog nestedLog;
  RecordingDiscoveryView nestedView(nestedLog);
  RecordingSink nestedSink(nestedLog);
  bool nestedRan = false;
  DiscoveryOutcome nested = DiscoveryOutcome::kShown;
  // Served the first time the link pumps events, which it does only while busy.
  transport::MainThreadDispatcher::instance().post([&] {
    nestedRan = true;
    nested = stack.find(nestedView, nestedSink);
  });

  EXPECT_EQ(stack.find(view_, sink_), DiscoveryOutcome::kShown);
  EXPECT_TRUE(nestedRan);
  EXPECT_EQ(nested, DiscoveryOutcome::kNotStarted);
  EXPECT_TRUE(nestedLog.empty());
  EXPECT_EQ(stack.simulator.requestsServed(), 1u);
}

}  // namespace
}  // namespace device_test
