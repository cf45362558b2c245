// Why the port failed, as the component reports it: the cause of an open
// that was refused, and a device that went away while open, on real devices.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <thread>

#include "modbus/exchange.h"
#include "modbus/result_codes.h"
#include "modbus/steady_tick.h"
#include "pty_pair.h"
#include "transport/af_com_port.h"
#include "transport/dispatcher_event_pump.h"
#include "transport/port_errors.h"

namespace transport {
namespace {

using namespace std::chrono_literals;
using modbus::PortFailureKind;
using testing::PtyPair;
namespace fs = std::filesystem;

// A directory of its own, with a Cyrillic name in it, removed at the end.
class ScratchDirectory {
 public:
  ScratchDirectory() {
    char pattern[] = "/tmp/ulm5-port-XXXXXX";
    if (::mkdtemp(pattern)) path_ = fs::path(pattern) / "порты";
    fs::create_directory(path_);
  }
  ~ScratchDirectory() { fs::remove_all(path_.parent_path()); }
  std::string file(const std::string& name) const { return (path_ / name).string(); }

 private:
  fs::path path_;
};

// Descriptors of this process that still name `path`.
int descriptorsOn(const std::string& path) {
  int count = 0;
  for (const auto& entry : fs::directory_iterator("/proc/self/fd")) {
    std::error_code error;
    const std::string target = fs::read_symlink(entry.path(), error).string();
    if (!error && (target == path || target == path + " (deleted)")) ++count;
  }
  return count;
}

TEST(PortFailure, ARefusedOpenNamesItsCause) {
  ScratchDirectory dir;
  PtyPair pty;
  ASSERT_TRUE(pty.ok());
  int holder = -1;  // another program's descriptor of the terminal
  const auto holdTerminal = [&] {
    holder = ::open(pty.slavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    return holder >= 0;
  };
  const auto lockTerminal = [&](TAfComPort&) {
    return holdTerminal() && ::flock(holder, LOCK_EX | LOCK_NB) == 0;
  };
  const auto makeTerminalExclusive = [&](TAfComPort&) {
    return holdTerminal() && ::ioctl(holder, TIOCEXCL) == 0;
  };
  const std::string plain = dir.file("обычный файл");
  const std::string locked = dir.file("закрытый файл");
  ::close(::open(plain.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0600));
  ::close(::open(locked.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0000));

  struct Case {
    const char* what;
    std::string path;
    std::function<bool(TAfComPort&)> prepare;
    PortFailureKind kind;
    int systemError;
    bool rootBypasses;
  };
  const Case cases[] = {
      {"missing", dir.file("нет такого"), nullptr, PortFailureKind::kNotFound, ENOENT, false},
      {"no permission", locked, nullptr, PortFailureKind::kNoPermission, EACCES, true},
      {"a regular file", plain, nullptr, PortFailureKind::kNotSerial, ENOTTY, false},
      {"/dev/null", "/dev/null", nullptr, PortFailureKind::kNotSerial, ENOTTY, false},
      {"locked by another open", pty.slavePath(), lockTerminal, PortFailureKind::kHeldByOther,
       EWOULDBLOCK, false},
      {"exclusive to another open", pty.slavePath(), makeTerminalExclusive,
       PortFailureKind::kHeldByOther, EBUSY, true},
      {"line settings the terminal refuses", pty.slavePath(),
       [](TAfComPort& port) {
         port.SetStopbits(TAfStopbits::sbOneAndHalf);
         return true;
       },
       PortFailureKind::kSettingsRefused, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.rootBypasses && ::geteuid() == 0) continue;
    TAfComPort port{"CommModBus"};
    port.SetDevicePathResolver([&](int) { return c.path; });
    port.SetComNumber(1);
    if (c.prepare) {
      ASSERT_TRUE(c.prepare(port));
    }
    EXPECT_THROW(port.Open(), EAfComPortCoreError);
    EXPECT_FALSE(port.IsOpen());
    const modbus::PortFailure failure = port.LastFailure();
    EXPECT_EQ(failure.kind, c.kind);
    EXPECT_EQ(failure.systemError, c.systemError);
    EXPECT_EQ(failure.devicePath, c.path);
    if (holder >= 0) {
      ::ioctl(holder, TIOCNXCL);
      ::close(holder);
      holder = -1;
    }
  }

  TAfComPort port{"CommModBus"};
  port.SetDevicePathResolver([&](int) { return pty.slavePath(); });
  port.SetComNumber(1);
  ASSERT_NO_THROW(port.Open());
  EXPECT_EQ(port.LastFailure().kind, PortFailureKind::kNone);
  EXPECT_EQ(port.LastFailure().devicePath, pty.slavePath());
}

// A device behind a name that stays (as udev's links do): the terminal goes
// away while the port holds it open, and a new one comes under the name.
class DeviceThatGoesAway : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(pty_->ok());
    link_ = dir_.file("адаптер");
    fs::create_symlink(pty_->slavePath(), link_);
    port_.SetDevicePathResolver([this](int) { return link_; });
    port_.SetComNumber(1);
  }
  // Our own descriptor of the terminal goes first: only the port's is left.
  // The name goes with the device; the terminal's own number may soon be
  // another program's.
  void unplug() {
    gonePath_ = pty_->slavePath();
    pty_->closeSlaveKeeper();
    pty_->closeMaster();
    fs::remove(link_);
  }
  void plugIn() {
    pty_.emplace();
    ASSERT_TRUE(pty_->ok());
    fs::create_symlink(pty_->slavePath(), link_);
  }

  ScratchDirectory dir_;
  std::string link_;
  std::string gonePath_;
  std::optional<PtyPair> pty_{std::in_place};
  DispatcherEventPump pump_;
  TAfComPort port_{"CommModBus"};
};

TEST_F(DeviceThatGoesAway, IsLetGoAtOnceReportedAndOpensAgainWhenBack) {
  port_.Open();
  unplug();
  try {
    port_.InBufUsed();
    ADD_FAILURE() << "a port whose device went away reported an empty queue";
  } catch (const EAfComPortError& e) {
    EXPECT_STREQ(e.what(), "Port went away - CommModBus ");
  }
  EXPECT_THROW(port_.WriteString("lost"), EAfComPortError);
  EXPECT_EQ(port_.LastFailure().kind, PortFailureKind::kWentAway);
  EXPECT_EQ(port_.LastFailure().devicePath, link_);
  EXPECT_EQ(descriptorsOn(gonePath_), 0) << "the device is still held";
  EXPECT_TRUE(port_.IsOpen());

  // Closing keeps the cause for whoever asks after the exchange closed.
  port_.Close();
  EXPECT_EQ(port_.LastFailure().kind, PortFailureKind::kWentAway);
  EXPECT_THROW(port_.Open(), EAfComPortCoreError);
  EXPECT_EQ(port_.LastFailure().kind, PortFailureKind::kNotFound);

  ASSERT_NO_FATAL_FAILURE(plugIn());
  ASSERT_NO_THROW(port_.Open());
  EXPECT_EQ(port_.LastFailure().kind, PortFailureKind::kNone);
  port_.WriteString("back");
  EXPECT_EQ(pty_->readMaster(4), "back");
  port_.Close();
}

// The far end takes the request and hangs up instead of answering: the
// exchange ends at once with its port error, not after its time as "no
// answer".
TEST_F(DeviceThatGoesAway, EndsTheExchangeWithThePortError) {
  modbus::SteadyTick tick;
  modbus::LinkServices link{port_, tick, pump_};
  link.mode = modbus::ExchangeMode::kFast;
  const modbus::ByteString request("\x00\x03\x00\x78\x00\x06", 6);
  std::thread farEnd([this] {
    pty_->readMaster(17);
    unplug();
  });
  const modbus::ExchangeResult result = modbus::Exchange(link, 1, 6, {20000, 20000, 10}, request);
  farEnd.join();
  EXPECT_EQ(result, modbus::CodeResult(modbus::kPortHardwareError));
  EXPECT_EQ(port_.LastFailure().kind, PortFailureKind::kWentAway);
  port_.Close();
}

}  // namespace
}  // namespace transport
