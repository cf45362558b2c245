// The component's events on a fake device whose line events the test fires:
// what is handed over to the main thread, and what a line event takes with it.

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <vector>

#include "fake_serial_device.h"
#include "transport/af_com_port.h"
#include "transport/dispatcher_event_pump.h"

namespace transport {
namespace {

using namespace std::chrono_literals;
using testing::FakeSerialDevice;
using LineWait = SerialDevice::LineWait;

class PortOnFakeDevice : public ::testing::Test {
 protected:
  PortOnFakeDevice() { port_.SetComNumber(1); }
  ~PortOnFakeDevice() override { port_.Close(); }

  void fire(uint32_t mask) {
    std::lock_guard lock(dev_.mutex);
    dev_.lineWaits.push_back({LineWait::Kind::kEvent, mask});
    dev_.changed.notify_all();
  }
  template <typename Pred>
  bool pumpUntil(Pred pred) {
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (!pred()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      pump_.ProcessEvents(10ms);
    }
    return true;
  }

  FakeSerialDevice::Shared dev_;
  DispatcherEventPump pump_;
  TAfComPort port_{"CommModBus", std::make_unique<FakeSerialDevice>(dev_)};
};

TEST_F(PortOnFakeDevice, ALineEventNobodyHearsStillTakesTheErrorsGatheredBeforeIt) {
  std::vector<uint32_t> reported;
  port_.OnLineError = [&](TAfCustomSerialPort&, uint32_t errors) { reported.push_back(errors); };
  port_.Open();
  {
    std::lock_guard lock(dev_.mutex);
    dev_.errors = CE_FRAME;
  }
  port_.InBufUsed();  // the status query gathers the frame error
  {
    std::lock_guard lock(dev_.mutex);
    dev_.errors = 0;
  }
  fire(EV_CTS);  // no handler for it: nothing is handed over
  fire(EV_ERR);
  ASSERT_TRUE(pumpUntil([&] { return !reported.empty(); }));
  EXPECT_EQ(reported, std::vector<uint32_t>{0}) << "no error since the CTS event";
}

TEST_F(PortOnFakeDevice, HandlersAssignedWhileOpenTakeEffect) {
  port_.Open();
  int outFree = 0;
  port_.OnOutBufFree = [&](TAfCustomSerialPort&) { ++outFree; };
  port_.WriteString("x");
  ASSERT_TRUE(pumpUntil([&] { return outFree == 1; }));

  // Each assignment races with the event thread asking about the event
  // fired just before it.
  int heard = 0;
  for (int i = 0; i < 50; ++i) {
    fire(EV_CTS);
    if (i % 2 == 0) {
      port_.OnCTSChanged = [&](TAfCustomSerialPort&) { ++heard; };
    } else {
      port_.OnCTSChanged = nullptr;
    }
    pump_.ProcessEvents(5ms);
  }
  port_.OnCTSChanged = [&](TAfCustomSerialPort&) { ++heard; };
  ASSERT_TRUE(pumpUntil([&] {
    std::lock_guard lock(dev_.mutex);
    return dev_.lineWaits.empty() && dev_.linewaitsBlocked == 1;
  }));
  const int before = heard;
  fire(EV_CTS);
  ASSERT_TRUE(pumpUntil([&] { return heard == before + 1; }));
}

}  // namespace
}  // namespace transport
