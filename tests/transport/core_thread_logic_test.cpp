#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "fake_serial_device.h"
#include "transport/af_com_port_core.h"
#include "transport/port_errors.h"

namespace transport {
namespace {

using namespace std::chrono_literals;
using testing::FakeSerialDevice;
using testing::waitFor;

struct Note {
  TAfCoreEvent kind;
  uint32_t data;
  std::string error;
};

class CoreThreads : public ::testing::Test {
 protected:
  CoreThreads() : core_(std::make_unique<FakeSerialDevice>(dev_)) {
    core_.setDevicePathResolver([](int n) { return "fake" + std::to_string(n); });
    core_.setNotificationSink([this](TAfComPortCore&, TAfCoreEvent kind, uint32_t data, uint32_t,
                                     std::exception_ptr error) {
      std::string what;
      if (error) {
        try {
          std::rethrow_exception(error);
        } catch (const std::exception& e) {
          what = e.what();
        }
      }
      std::lock_guard lock(dev_.mutex);
      notes_.push_back({kind, data, what});
      if (throwFromSink_ && kind != TAfCoreEvent::ceThreadError) {
        throwFromSink_ = false;
        throw std::runtime_error("sink failed");
      }
      dev_.changed.notify_all();
    });
  }

  size_t count(TAfCoreEvent kind) {
    size_t n = 0;
    for (const Note& note : notes_) n += note.kind == kind;
    return n;
  }
  void fire(SerialDevice::LineWait wait) {
    std::lock_guard lock(dev_.mutex);
    dev_.lineWaits.push_back(wait);
    dev_.changed.notify_all();
  }

  FakeSerialDevice::Shared dev_;
  std::vector<Note> notes_;  // under dev_.mutex
  bool throwFromSink_ = false;
  TAfComPortCore core_;
};

TEST_F(CoreThreads, OpeningConfiguresInOrderAndPurgesBothQueues) {
  ASSERT_TRUE(core_.open(3));
  EXPECT_EQ(dev_.openedPath, "fake3");
  EXPECT_TRUE(core_.isActive());
  EXPECT_FALSE(core_.open(3));  // already opened
  {
    std::lock_guard lock(dev_.mutex);
    ASSERT_FALSE(dev_.masks.empty());
    EXPECT_EQ(dev_.masks.front(), kCoreEventMask);
    ASSERT_FALSE(dev_.purges.empty());
    EXPECT_EQ(dev_.purges.front(), 0x0Fu);
  }
  core_.close();
  EXPECT_FALSE(core_.isActive());
  EXPECT_EQ(dev_.closeCount, 1);
  EXPECT_EQ(dev_.masks.back(), 0u);  // the event wait ended through the empty mask
}

TEST_F(CoreThreads, NumberZeroFailsBeforeTheDeviceIsTouched) {
  try {
    core_.open(0);
    FAIL();
  } catch (const EAfComPortCoreError& e) {
    EXPECT_STREQ(e.what(), "Invalid port number (COM0)");
  }
  EXPECT_EQ(core_.lastFailure().kind, modbus::PortFailureKind::kNotFound);
  EXPECT_TRUE(dev_.openedPath.empty());
  EXPECT_THROW(core_.open(-2), EAfComPortCoreError);
}

TEST_F(CoreThreads, OpenFailuresCarryTheirTextsAndCausesAndLeaveNothingOpen) {
  using Kind = modbus::PortFailureKind;
  struct Case {
    bool FakeSerialDevice::Shared::*flag;  // a configuring step that fails, or
    SerialDevice::OpenResult open;         // how the device's open ends
    const char* text;
    Kind kind;
  };
  const Case cases[] = {
      {&FakeSerialDevice::Shared::timeoutsOk, {}, "Error setting timeouts", Kind::kOther},
      {&FakeSerialDevice::Shared::queuesOk, {}, "Error initializing buffers", Kind::kOther},
      {&FakeSerialDevice::Shared::maskOk, {}, " Error setting EventMask", Kind::kOther},
      {nullptr, {Kind::kNotFound, 2}, "Invalid port number (COM7)", Kind::kNotFound},
      {nullptr, {Kind::kNoPermission, 13}, "Can't open device COM7", Kind::kNoPermission},
      {nullptr, {Kind::kHeldByOther, 16}, "Can't open device COM7", Kind::kHeldByOther},
      {nullptr, {Kind::kNotSerial, 25}, "Can't open device COM7", Kind::kNotSerial},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    if (c.flag) dev_.*c.flag = false;
    dev_.openResult = c.open;
    try {
      core_.open(7);
      ADD_FAILURE();
    } catch (const EAfComPortCoreError& e) {
      EXPECT_STREQ(e.what(), c.text);
    }
    EXPECT_FALSE(dev_.open);
    EXPECT_FALSE(core_.isActive());
    const modbus::PortFailure failure = core_.lastFailure();
    EXPECT_EQ(failure.kind, c.kind);
    EXPECT_EQ(failure.systemError, c.open.systemError);
    EXPECT_EQ(failure.devicePath, "fake7");
    if (c.flag) dev_.*c.flag = true;
  }
  // Still usable afterwards, and a good open clears the cause.
  dev_.openResult = {};
  EXPECT_TRUE(core_.open(7));
  EXPECT_EQ(core_.lastFailure().kind, Kind::kNone);
  EXPECT_EQ(core_.lastFailure().devicePath, "fake7");
}

TEST_F(CoreThreads, RefusedBlockIsReplacedByWhatTheDeviceHas) {
  dev_.parametersOk = false;
  dev_.deviceBlock.BaudRate = 9600;
  dev_.deviceBlock.ByteSize = 8;
  DCB wanted{};
  wanted.BaudRate = 12345;
  wanted.ByteSize = 7;
  core_.setLineParameters(wanted);  // closed: stored only
  EXPECT_EQ(core_.lineParameters().BaudRate, 12345u);
  try {
    core_.open(1);
    FAIL();
  } catch (const EAfComPortCoreError& e) {
    EXPECT_STREQ(e.what(), "Error setting parameters from DCB");
  }
  EXPECT_EQ(core_.lineParameters().BaudRate, 9600u);
  EXPECT_FALSE(dev_.open);
  EXPECT_EQ(core_.lastFailure().kind, modbus::PortFailureKind::kSettingsRefused);
}

TEST_F(CoreThreads, WrappedRunGoesOutInTwoWritesAndDrainsAfterTheSecond) {
  core_.setOutputQueueSize(16);
  ASSERT_TRUE(core_.open(1));
  ASSERT_TRUE(core_.write("0123456789ab", 12));
  ASSERT_TRUE(waitFor(dev_, [&] { return count(TAfCoreEvent::ceOutputEmpty) == 1; }));
  {
    std::lock_guard lock(dev_.mutex);
    dev_.holdWrites = true;
  }
  ASSERT_TRUE(core_.write("ABCDEFGH", 8));  // 4 bytes up to the end, 4 from 0
  ASSERT_TRUE(waitFor(dev_, [&] { return dev_.writes.size() == 2; }));
  EXPECT_EQ(dev_.writes[1], "ABCD");
  {
    std::lock_guard lock(dev_.mutex);
    ++dev_.releasedWrites;
    ++dev_.releasedWrites;
    dev_.changed.notify_all();
  }
  ASSERT_TRUE(waitFor(dev_, [&] { return dev_.writes.size() == 3; }));
  EXPECT_EQ(dev_.writes[2], "EFGH");
  EXPECT_EQ(count(TAfCoreEvent::ceOutputEmpty), 1u);  // not after the first half
  {
    std::lock_guard lock(dev_.mutex);
    ++dev_.releasedWrites;
    dev_.changed.notify_all();
  }
  ASSERT_TRUE(waitFor(dev_, [&] { return count(TAfCoreEvent::ceOutputEmpty) == 2; }));
  EXPECT_EQ(core_.freeTransmitSpace(), 16);
}

TEST_F(CoreThreads, TransmitQueueRefusesWhatDoesNotFitAndClosedCoreRefusesAll) {
  EXPECT_FALSE(core_.write("abc", 3));
  EXPECT_EQ(core_.freeTransmitSpace(), 0);
  EXPECT_EQ(core_.read(nullptr, 0), -1);
  EXPECT_EQ(core_.queueStatus().inQue, 0);
  core_.setOutputQueueSize(8);
  dev_.holdWrites = true;
  ASSERT_TRUE(core_.open(1));
  ASSERT_TRUE(core_.write("12345678", 8));
  ASSERT_TRUE(waitFor(dev_, [&] { return dev_.writes.size() == 1; }));
  EXPECT_EQ(core_.freeTransmitSpace(), 0);
  EXPECT_FALSE(core_.write("9", 1));
  // Closing with a write in flight: the flush interrupts it, nothing hangs.
  core_.close();
  EXPECT_FALSE(core_.isActive());
}

TEST_F(CoreThreads, BytesTheDeviceRefusedAreNotSentAheadOfTheNextWrite) {
  dev_.failWrites = true;
  ASSERT_TRUE(core_.open(1));
  ASSERT_TRUE(core_.write("stale", 5));
  ASSERT_TRUE(waitFor(dev_, [&] { return dev_.writes.size() == 1; }));
  const auto deadline = std::chrono::steady_clock::now() + 20s;
  while (core_.freeTransmitSpace() != 2048 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::yield();
  }
  EXPECT_EQ(core_.freeTransmitSpace(), 2048) << "the refused bytes stay queued";
  {
    std::lock_guard lock(dev_.mutex);
    dev_.failWrites = false;
  }
  ASSERT_TRUE(core_.write("fresh", 5));
  ASSERT_TRUE(waitFor(dev_, [&] { return dev_.writes.size() == 2; }));
  EXPECT_EQ(dev_.writes[1], "fresh");
}

TEST_F(CoreThreads, InputWithoutLineEventIsReportedOnTheTick) {
  ASSERT_TRUE(core_.open(1));
  ASSERT_TRUE(waitFor(dev_, [&] { return dev_.linewaitsBlocked == 1; }));
  {
    std::lock_guard lock(dev_.mutex);
    EXPECT_EQ(dev_.waitTimeouts.back(), 200ms);
    dev_.inQue = 5;
  }
  fire({SerialDevice::LineWait::Kind::kTimeout, 0});
  ASSERT_TRUE(waitFor(dev_, [&] { return count(TAfCoreEvent::ceDataWaiting) == 1; }));
  EXPECT_EQ(notes_.back().data, 5u);
  // An empty queue on the tick says nothing.
  {
    std::lock_guard lock(dev_.mutex);
    dev_.inQue = 0;
    dev_.lineWaits.push_back({SerialDevice::LineWait::Kind::kTimeout, 0});
    dev_.lineWaits.push_back({SerialDevice::LineWait::Kind::kEvent, EV_CTS});
    dev_.changed.notify_all();
  }
  ASSERT_TRUE(waitFor(dev_, [&] { return count(TAfCoreEvent::ceCommEvent) == 1; }));
  EXPECT_EQ(count(TAfCoreEvent::ceDataWaiting), 1u);
  EXPECT_EQ(notes_.back().data, EV_CTS);
}

TEST_F(CoreThreads, ClosingWhileTheEventWaitIsPendingReturns) {
  ASSERT_TRUE(core_.open(1));
  ASSERT_TRUE(waitFor(dev_, [&] { return dev_.linewaitsBlocked == 1; }));
  core_.close();
  EXPECT_EQ(dev_.linewaitsBlocked, 0);
  EXPECT_EQ(dev_.closeCount, 1);
  // Nothing reaches the sink after close.
  const size_t before = notes_.size();
  fire({SerialDevice::LineWait::Kind::kEvent, EV_RXCHAR});
  EXPECT_EQ(notes_.size(), before);
}

TEST_F(CoreThreads, SinkExceptionComesBackAsThreadErrorAndTheLoopGoesOn) {
  throwFromSink_ = true;
  ASSERT_TRUE(core_.open(1));
  fire({SerialDevice::LineWait::Kind::kEvent, EV_RXCHAR});
  ASSERT_TRUE(waitFor(dev_, [&] { return count(TAfCoreEvent::ceThreadError) == 1; }));
  EXPECT_EQ(notes_.back().error, "sink failed");
  fire({SerialDevice::LineWait::Kind::kEvent, EV_DSR});
  ASSERT_TRUE(waitFor(dev_, [&] { return count(TAfCoreEvent::ceCommEvent) == 2; }));
}

TEST_F(CoreThreads, GatheredErrorsAreTakenOnce) {
  ASSERT_TRUE(core_.open(1));
  EXPECT_EQ(core_.takeErrors(), 0u);
  core_.close();
  EXPECT_EQ(core_.takeErrors(), 0u);
}

}  // namespace
}  // namespace transport
