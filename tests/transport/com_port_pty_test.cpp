#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "paced_writer.h"
#include "pty_pair.h"
#include "terminal_line_shim.h"
#include "transport/af_com_port.h"
#include "transport/dispatcher_event_pump.h"
#include "transport/port_errors.h"

namespace transport {
namespace {

using namespace std::chrono_literals;
using testing::PtyPair;
using testing::TerminalLineShim;

class PortOnPty : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(pty_.ok());
    port_.SetDevicePathResolver(
        [this](int n) { return n == 1 ? pty_.slavePath() : other_.slavePath(); });
    port_.SetComNumber(1);
  }
  // Pumps until pred() or a generous limit; true when pred() holds.
  template <typename Pred>
  bool pumpUntil(Pred pred) {
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (!pred()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      pump_.ProcessEvents(20ms);
    }
    return true;
  }

  PtyPair pty_;
  PtyPair other_;
  DispatcherEventPump pump_;
  TAfComPort port_{"CommModBus"};
};

TEST_F(PortOnPty, WritesAndReadsBothWays) {
  bool opened = false;
  port_.OnPortOpen = [&](TAfCustomSerialPort&) { opened = true; };
  port_.Open();
  EXPECT_TRUE(opened);
  EXPECT_TRUE(port_.IsOpen());
  EXPECT_EQ(port_.OutBufFree(), 2048);
  // CR LF and bytes above 7Fh pass unchanged: the line is raw.
  const std::string frame = ":000300000001FC\r\n\x00\xff\x11\x13";
  port_.WriteString(frame);
  EXPECT_EQ(pty_.readMaster(frame.size()), frame);
  const std::string reply = ":00030200FF\r\n\r\x7f";
  ASSERT_TRUE(pty_.writeMaster(reply));
  ASSERT_TRUE(pumpUntil([&] { return port_.InBufUsed() == static_cast<int32_t>(reply.size()); }));
  EXPECT_EQ(port_.ReadString(), reply);
  EXPECT_EQ(port_.InBufUsed(), 0);
  port_.Close();
  EXPECT_FALSE(port_.IsOpen());
}

TEST_F(PortOnPty, NotificationsArriveOnTheMainThreadWhileItPumps) {
  const auto mainThread = std::this_thread::get_id();
  std::vector<TAfCoreEvent> kinds;
  int32_t received = 0;
  int outFree = 0;
  bool allOnMain = true;
  port_.OnSyncEvent = [&](TAfCustomSerialPort&, TAfCoreEvent kind, uint32_t) {
    kinds.push_back(kind);
    allOnMain = allOnMain && std::this_thread::get_id() == mainThread;
  };
  port_.OnDataRecived = [&](TAfCustomSerialPort&, int32_t count) { received = count; };
  port_.OnOutBufFree = [&](TAfCustomSerialPort&) { ++outFree; };
  port_.Open();
  port_.WriteString("ping");
  ASSERT_TRUE(pumpUntil([&] { return outFree == 1; }));
  ASSERT_TRUE(pty_.writeMaster("pong"));
  ASSERT_TRUE(pumpUntil([&] { return received == 4; }));
  EXPECT_TRUE(allOnMain);
  // Unread input is reported again on the 200 ms tick as data waiting.
  ASSERT_TRUE(pumpUntil([&] {
    return std::find(kinds.begin(), kinds.end(), TAfCoreEvent::ceDataWaiting) != kinds.end();
  }));
  EXPECT_EQ(received, 4);
  port_.Close();
}

TEST_F(PortOnPty, NonSyncEventRunsOnTheEventThreadInstead) {
  std::atomic<int> calls{0};
  std::atomic<bool> offMain{true};
  const auto mainThread = std::this_thread::get_id();
  bool syncSeen = false;
  port_.OnNonSyncEvent = [&](TAfCustomSerialPort&, TAfCoreEvent, uint32_t) {
    ++calls;
    if (std::this_thread::get_id() == mainThread) offMain = false;
  };
  port_.OnSyncEvent = [&](TAfCustomSerialPort&, TAfCoreEvent, uint32_t) { syncSeen = true; };
  port_.Open();
  ASSERT_TRUE(pty_.writeMaster("x"));
  ASSERT_TRUE(pumpUntil([&] { return calls.load() > 0; }));
  port_.Close();
  EXPECT_TRUE(offMain.load());
  EXPECT_FALSE(syncSeen);
}

TEST_F(PortOnPty, ALateReplyNeverReachesTheNextOpen) {
  port_.Open();
  port_.Close();
  ASSERT_TRUE(pty_.writeMaster("late reply"));
  // The test's own slave descriptor keeps the terminal, and its queue, alive.
  port_.Open();
  EXPECT_EQ(port_.InBufUsed(), 0);
  EXPECT_EQ(port_.ReadString(), "");
  port_.Close();
}

TEST_F(PortOnPty, ADeviceHeldByAnotherProgramCannotBeOpened) {
  const int holder = ::open(pty_.slavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  ASSERT_GE(holder, 0);
  ASSERT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);
  try {
    port_.Open();
    FAIL();
  } catch (const EAfComPortCoreError& e) {
    EXPECT_STREQ(e.what(), "Can't open device COM1");
  }
  EXPECT_FALSE(port_.IsOpen());
  ::close(holder);
  EXPECT_NO_THROW(port_.Open());
  // And while we hold it, nobody else gets the lock.
  const int second = ::open(pty_.slavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (second >= 0) {
    EXPECT_NE(::flock(second, LOCK_EX | LOCK_NB), 0);
    ::close(second);
  }
  port_.Close();
}

TEST_F(PortOnPty, SettingsThePseudoTerminalDropsAreRefusedWithTheRealBlock) {
  port_.Open();
  try {
    port_.SetDatabits(TAfDatabits::db7);  // the kernel keeps 8 bits on a pty
    FAIL();
  } catch (const EAfComPortCoreError& e) {
    EXPECT_STREQ(e.what(), "Error setting parameters from DCB");
  }
  EXPECT_EQ(port_.Databits(), TAfDatabits::db7);  // the property keeps its value
  EXPECT_EQ(port_.LineParameterBlock().ByteSize, 8);
  EXPECT_TRUE(port_.IsOpen());
  // Every later rebuild carries the refused setting too, until it is undone.
  EXPECT_THROW(port_.SetXOnChar(18), EAfComPortCoreError);
  EXPECT_NO_THROW(port_.SetDatabits(TAfDatabits::db8));
  // A non-standard speed is taken.
  EXPECT_NO_THROW(port_.SetUserBaudRate(31250));
  EXPECT_EQ(port_.LineParameterBlock().BaudRate, 31250u);
  port_.Close();
  // Unexpressible at open: the port stays closed.
  port_.SetStopbits(TAfStopbits::sbOneAndHalf);
  EXPECT_THROW(port_.Open(), EAfComPortCoreError);
  EXPECT_FALSE(port_.IsOpen());
  EXPECT_NO_THROW(port_.Close());
}

TEST_F(PortOnPty, ARefusedOpenKeepsThePropertiesAndIsRefusedAgain) {
  port_.SetStopbits(TAfStopbits::sbOneAndHalf);  // termios has no 1.5 stop bits
  const DCB built = port_.LineParameterBlock();
  for (int attempt = 1; attempt <= 2; ++attempt) {
    try {
      port_.Open();
      ADD_FAILURE() << "attempt " << attempt;
    } catch (const EAfComPortCoreError& e) {
      EXPECT_STREQ(e.what(), "Error setting parameters from DCB");
    }
    EXPECT_FALSE(port_.IsOpen());
    EXPECT_EQ(port_.Stopbits(), TAfStopbits::sbOneAndHalf);
    EXPECT_EQ(port_.LineParameterBlock(), built);
  }
  port_.SetStopbits(TAfStopbits::sbOne);
  EXPECT_NO_THROW(port_.Open());
  port_.Close();
}

TEST_F(PortOnPty, ARefusedOpenLeavesTheDeviceAsItFoundIt) {
  // Another program left the terminal at 4800 bit/s, cooked, with echo.
  const int other = ::open(pty_.slavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  ASSERT_GE(other, 0);
  termios found{};
  ASSERT_EQ(::tcgetattr(other, &found), 0);
  ASSERT_EQ(::cfsetspeed(&found, B4800), 0);
  found.c_lflag |= ICANON | ECHO;
  ASSERT_EQ(::tcsetattr(other, TCSANOW, &found), 0);
  ASSERT_EQ(::tcgetattr(other, &found), 0);

  port_.SetBaudRate(TAfBaudrate::br19200);
  port_.SetDatabits(TAfDatabits::db7);  // taken with the speed, then dropped by the kernel
  EXPECT_THROW(port_.Open(), EAfComPortCoreError);
  termios after{};
  ASSERT_EQ(::tcgetattr(other, &after), 0);
  ::close(other);
  EXPECT_EQ(::cfgetospeed(&after), static_cast<speed_t>(B4800));
  EXPECT_EQ(::cfgetispeed(&after), static_cast<speed_t>(B4800));
  EXPECT_EQ(after.c_iflag, found.c_iflag);
  EXPECT_EQ(after.c_oflag, found.c_oflag);
  EXPECT_EQ(after.c_cflag, found.c_cflag);
  EXPECT_EQ(after.c_lflag, found.c_lflag);
  EXPECT_TRUE(std::equal(std::begin(after.c_cc), std::end(after.c_cc), std::begin(found.c_cc)));
}

TEST_F(PortOnPty, BufferSizesAreRefusedWhileOpen) {
  port_.Open();
  try {
    port_.SetInBufSize(100);
    FAIL();
  } catch (const EAfComPortError& e) {
    EXPECT_STREQ(e.what(), "Port is not closed - CommModBus ");
  }
  EXPECT_THROW(port_.SetOutBufSize(100), EAfComPortError);
  EXPECT_NO_THROW(port_.SetOutBufSize(2048));  // unchanged: nothing to refuse
  EXPECT_EQ(port_.InBufSize(), 4096);
  port_.Close();
  port_.SetOutBufSize(16);
  port_.Open();
  EXPECT_EQ(port_.OutBufFree(), 16);
  try {
    port_.WriteString(std::string(17, 'z'));
    FAIL();
  } catch (const EAfComPortError& e) {
    EXPECT_STREQ(e.what(), "Write data error [requested: 17, free: 16] - CommModBus ");
  }
  EXPECT_EQ(pty_.readMaster(1, 100ms), "");  // nothing was queued
  port_.Close();
}

TEST_F(PortOnPty, ComNumberWhileOpenReopensOnTheNewDevice) {
  ASSERT_TRUE(other_.ok());
  std::vector<std::string> events;
  port_.OnPortOpen = [&](TAfCustomSerialPort&) { events.push_back("open"); };
  port_.OnPortClose = [&](TAfCustomSerialPort&) { events.push_back("close"); };
  port_.Open();
  port_.SetComNumber(2);
  EXPECT_TRUE(port_.IsOpen());
  EXPECT_EQ(events, (std::vector<std::string>{"open", "close", "open"}));
  port_.WriteString("two");
  EXPECT_EQ(other_.readMaster(3), "two");
  port_.Close();
}

TEST_F(PortOnPty, AFarEndThatVanishesFailsThePortUntilItIsClosed) {
  port_.Open();
  pty_.closeMaster();
  pty_.closeSlaveKeeper();
  // Reads and writes fail as the port's failure, and closing still works.
  EXPECT_THROW(port_.InBufUsed(), EAfComPortError);
  EXPECT_THROW(port_.ReadString(), EAfComPortError);
  EXPECT_THROW(port_.WriteString("lost"), EAfComPortError);
  pump_.ProcessEvents(300ms);
  EXPECT_NO_THROW(port_.Close());
  EXPECT_FALSE(port_.IsOpen());
  EXPECT_EQ(port_.InBufUsed(), 0);
  EXPECT_EQ(port_.ReadString(), "");
}

TEST_F(PortOnPty, CloseFromInsideAnEventHandlerDoesNotHang) {
  bool closedInHandler = false;
  port_.OnDataRecived = [&](TAfCustomSerialPort& sender, int32_t) {
    sender.Close();
    closedInHandler = true;
  };
  port_.Open();
  ASSERT_TRUE(pty_.writeMaster("x"));
  ASSERT_TRUE(pumpUntil([&] { return closedInHandler; }));
  EXPECT_FALSE(port_.IsOpen());
}

TEST_F(PortOnPty, InputAfterAReadIsAnnouncedAtOnceNotOnTheTick) {
  // The event thread must count what is left after a read as new, even when
  // fewer bytes wait than at its last report.
  std::vector<TAfCoreEvent> kinds;
  std::string got;
  int deliveries = 0;
  port_.OnSyncEvent = [&](TAfCustomSerialPort&, TAfCoreEvent kind, uint32_t) {
    kinds.push_back(kind);
  };
  port_.OnDataRecived = [&](TAfCustomSerialPort& sender, int32_t) {
    ++deliveries;
    if (deliveries == 1) {
      ASSERT_TRUE(pty_.writeMaster("more"));
      const auto deadline = std::chrono::steady_clock::now() + 20s;
      while (sender.InBufUsed() < 14 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::yield();
      }
    }
    got += sender.ReadString();
    if (deliveries == 1) {
      ASSERT_TRUE(pty_.writeMaster("xyz"));
    }
  };
  port_.Open();
  ASSERT_TRUE(pty_.writeMaster("0123456789"));
  ASSERT_TRUE(pumpUntil([&] { return got.size() == 17; }));
  EXPECT_EQ(got, "0123456789morexyz");
  ASSERT_GE(kinds.size(), 2u);
  EXPECT_EQ(kinds[0], TAfCoreEvent::ceCommEvent);
  EXPECT_EQ(kinds[1], TAfCoreEvent::ceCommEvent);
  port_.Close();
}

TEST_F(PortOnPty, AFullTerminalQueuesTheRestAndKeepsTheOrder) {
  // Nobody reads the master: the terminal fills, the direct write takes
  // what fits, the write thread waits with the rest, and further writes are
  // refused once the transmit queue is full.
  port_.Open();
  std::string sent;
  std::string refusal;
  for (int block = 0; block < 512 && refusal.empty(); ++block) {
    std::string data(256, static_cast<char>('A' + block % 26));
    try {
      port_.WriteString(data);
      sent += data;
    } catch (const EAfComPortError& e) {
      refusal = e.what();
    }
  }
  // The free count is the one at the moment of refusal: the terminal may take
  // more a moment later, so OutBufFree() afterwards proves nothing.
  int requested = 0;
  int freeAtRefusal = -1;
  ASSERT_EQ(std::sscanf(refusal.c_str(), "Write data error [requested: %d, free: %d]", &requested,
                        &freeAtRefusal),
            2)
      << refusal;
  EXPECT_EQ(requested, 256);
  EXPECT_GE(freeAtRefusal, 0);
  EXPECT_LT(freeAtRefusal, 256);
  const std::string received = pty_.readMaster(sent.size());
  EXPECT_EQ(received.size(), sent.size());
  EXPECT_TRUE(received == sent);
  ASSERT_TRUE(pumpUntil([&] { return port_.OutBufFree() == 2048; }));
  port_.Close();
}

TEST_F(PortOnPty, ClosingWithAWriteWaitingForTheTerminalReturns) {
  port_.Open();
  bool refused = false;
  for (int block = 0; block < 512 && !refused; ++block) {
    try {
      port_.WriteString(std::string(256, 'q'));
    } catch (const EAfComPortError&) {
      refused = true;
    }
  }
  ASSERT_TRUE(refused);
  port_.Close();  // the flush interrupts the waiting write
  EXPECT_FALSE(port_.IsOpen());
  port_.Open();
  EXPECT_EQ(port_.OutBufFree(), 2048);
  port_.Close();
}

// Line errors, which a pseudo-terminal cannot produce, counted by the shim.
class PortOnPtyWithLineErrors : public PortOnPty {
 protected:
  void SetUp() override {
    PortOnPty::SetUp();
    shim_.emplace(pty_.slavePath());
    ASSERT_TRUE(shim_->ok());
    port_.OnLineError = [this](TAfCustomSerialPort&, uint32_t errors) {
      reports_.push_back(errors);
    };
  }
  // The port looks at the terminal through the shim until it is closed.
  void TearDown() override { port_.Close(); }

  // Counts one error and pumps until it is reported.
  bool countAndWaitForReport(void (TerminalLineShim::*count)()) {
    const size_t before = reports_.size();
    (*shim_.*count)();
    return pumpUntil([&] { return reports_.size() > before; });
  }

  std::optional<TerminalLineShim> shim_;
  std::vector<uint32_t> reports_;
};

TEST_F(PortOnPtyWithLineErrors, OnAnIdleLineEachErrorIsReportedAlone) {
  port_.Open();
  ASSERT_TRUE(countAndWaitForReport(&TerminalLineShim::countFrameError));
  ASSERT_TRUE(countAndWaitForReport(&TerminalLineShim::countOverrun));
  ASSERT_TRUE(countAndWaitForReport(&TerminalLineShim::countFrameError));
  EXPECT_EQ(reports_, (std::vector<uint32_t>{CE_FRAME, CE_OVERRUN, CE_FRAME}));
}

TEST_F(PortOnPtyWithLineErrors, ErrorsAreReportedWithTheirBitsWhileInputIsRead) {
  std::string got;
  port_.OnDataRecived = [&](TAfCustomSerialPort& sender, int32_t) { got += sender.ReadString(); };
  port_.Open();
  testing::PacedWriter sender(pty_.master(), 20ms);
  ASSERT_TRUE(pumpUntil([&] { return got.size() >= 3; }));
  ASSERT_TRUE(countAndWaitForReport(&TerminalLineShim::countFrameError));
  ASSERT_TRUE(countAndWaitForReport(&TerminalLineShim::countOverrun));
  EXPECT_EQ(reports_, (std::vector<uint32_t>{CE_FRAME, CE_OVERRUN}));
  const size_t received = got.size();
  ASSERT_TRUE(pumpUntil([&] { return got.size() > received; })) << "the input went on";
}

}  // namespace
}  // namespace transport
