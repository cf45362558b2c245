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

  void fire(uint32_t mask, uint32_t errors = 0) {
    std::lock_guard lock(dev_.mutex);
    dev_.lineWaits.push_back({LineWait::Kind::kEvent, mask, errors});
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

// Status queries (every read asks one) see the same errors as the line
// events, earlier or later; what they gather must not move bits from one
// report to another.
TEST_F(PortOnFakeDevice, EachLineErrorReportCarriesTheBitsOfItsOwnEvent) {
  std::vector<uint32_t> reported;
  int reads = 0;
  port_.OnLineError = [&](TAfCustomSerialPort&, uint32_t errors) { reported.push_back(errors); };
  port_.OnDataRecived = [&](TAfCustomSerialPort& sender, int32_t) {
    sender.ReadString();
    ++reads;
  };
  port_.Open();
  {
    std::lock_guard lock(dev_.mutex);
    dev_.errors = CE_BREAK | CE_RXOVER;  // what every status query reports
  }
  fire(EV_ERR, CE_FRAME);
  fire(EV_RXCHAR);
  fire(EV_ERR | EV_CTS, CE_OVERRUN);
  fire(EV_RXCHAR);
  fire(EV_CTS);  // no handler for it: nothing is handed over
  fire(EV_ERR, CE_RXPARITY | CE_FRAME);
  fire(EV_ERR);
  ASSERT_TRUE(pumpUntil([&] { return reported.size() == 4; }));
  EXPECT_EQ(reported, (std::vector<uint32_t>{CE_FRAME, CE_OVERRUN, CE_RXPARITY | CE_FRAME, 0}));
  EXPECT_EQ(reads, 2);
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
