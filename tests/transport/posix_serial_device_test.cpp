// The termios backend on a pseudo-terminal: what its line wait reports, with
// the modem lines and error counters a pseudo-terminal lacks given by a shim.

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/ioctl.h>

#include <chrono>
#include <optional>

#include "paced_writer.h"
#include "pty_pair.h"
#include "terminal_line_shim.h"
#include "transport/af_com_port_core.h"
#include "transport/posix/posix_serial_device.h"

namespace transport {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using LineWait = SerialDevice::LineWait;
using testing::PtyPair;
using testing::TerminalLineShim;

class DeviceOnPty : public ::testing::Test {
 protected:
  void open() {
    ASSERT_TRUE(pty_.ok());
    ASSERT_TRUE(device_.open(pty_.slavePath()).ok());
    ASSERT_TRUE(device_.setTimeouts());
    ASSERT_TRUE(device_.setEventMask(kCoreEventMask));
  }

  // Waits as the event thread does, reading whatever input it announces,
  // until all of `wanted` came or a generous limit passed; the events seen.
  uint32_t waitForEvents(uint32_t wanted) {
    uint32_t seen = 0;
    const auto deadline = Clock::now() + 10s;
    while ((seen & wanted) != wanted && Clock::now() < deadline) {
      const LineWait wait = device_.waitLineEvent(200ms);
      if (wait.kind != LineWait::Kind::kEvent) continue;
      seen |= wait.mask;
      errors_ |= wait.errors;
      char buffer[256];
      if ((wait.mask & EV_RXCHAR) && device_.read(buffer, sizeof buffer) > 0) ++reads_;
    }
    return seen;
  }

  PtyPair pty_;
  std::optional<TerminalLineShim> shim_;  // outlives the device's use of it
  posix::PosixSerialDevice device_;
  int reads_ = 0;
  uint32_t errors_ = 0;  // the error bits the events carried
};

TEST_F(DeviceOnPty, AnEmptyReadIsNoHangUp) {
  open();
  char byte = 0;
  EXPECT_EQ(device_.read(&byte, 1), 0);
  EXPECT_FALSE(device_.wentAway());
  // Input after it is announced as it comes.
  ASSERT_TRUE(pty_.writeMaster("x"));
  EXPECT_TRUE(waitForEvents(EV_RXCHAR) & EV_RXCHAR);

  // A far end that really went away is told apart.
  pty_.closeMaster();
  pty_.closeSlaveKeeper();
  const auto deadline = Clock::now() + 10s;
  while (!device_.wentAway() && Clock::now() < deadline) device_.waitLineEvent(200ms);
  EXPECT_TRUE(device_.wentAway());
  // From then on a wait only waits: the hang-up, which poll() reports for
  // good, no longer ends it.
  int waits = 0;
  while (device_.waitLineEvent(20ms).kind != LineWait::Kind::kTimeout && ++waits < 3) {
  }
  for (int i = 0; i < 3; ++i) EXPECT_EQ(device_.waitLineEvent(20ms).kind, LineWait::Kind::kTimeout);
  char buffer[8];
  EXPECT_EQ(device_.read(buffer, sizeof buffer), -1);
}

TEST_F(DeviceOnPty, LineChangesAndErrorsAreReportedUnderSteadyInput) {
  ASSERT_TRUE(pty_.ok());
  shim_.emplace(pty_.slavePath());
  ASSERT_TRUE(shim_->ok());
  shim_->setModemLines(TIOCM_DSR);
  open();
  // Every byte ends a wait long before 200 ms without input would pass.
  testing::PacedWriter trickle(pty_.master(), 50ms);
  ASSERT_TRUE(waitForEvents(EV_RXCHAR) & EV_RXCHAR);
  reads_ = 0;
  shim_->setModemLines(TIOCM_DSR | TIOCM_CTS);
  shim_->countFrameError();
  EXPECT_EQ(waitForEvents(EV_CTS | EV_ERR) & (EV_CTS | EV_ERR), EV_CTS | EV_ERR);
  EXPECT_EQ(errors_, CE_FRAME);
  EXPECT_GT(reads_, 1) << "the input went on meanwhile";
}

TEST(DevicePath, DefaultsToTheNumberedTerminal) {
  EXPECT_EQ(DefaultDevicePath(1), "/dev/ttyS0");
  EXPECT_EQ(DefaultDevicePath(32), "/dev/ttyS31");
}

}  // namespace
}  // namespace transport
