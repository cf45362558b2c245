// The Win32 backend on COM ports of the Wine prefix linked to
// pseudo-terminals (scripts/windows): the Linux simulator on one, a far end
// that never reads on the other. Only 8N1 can be tried on a pseudo-terminal.

#include "transport/win32/windows_api.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "modbus/frame_codec.h"
#include "settings/port_device_path.h"
#include "settings/profile_text.h"
#include "transport/af_com_port.h"
#include "transport/af_com_port_core.h"
#include "transport/line_parameter_block.h"
#include "transport/port_errors.h"
#include "transport/thread_priority.h"
#include "transport/win32/win32_serial_device.h"

namespace transport::win32 {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using LineWait = SerialDevice::LineWait;

// A number of a COM port nothing is linked to.
constexpr int kMissingCom = 29;

int comFromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::atoi(value) : 0;
}

DCB block(TAfBaudrate rate = TAfBaudrate::br115200) {
  LineSettings settings;
  settings.baudRate = rate;
  return BuildLineParameterBlock(settings);
}

class ComPort : public ::testing::Test {
 protected:
  void SetUp() override {
    simCom_ = comFromEnvironment("ULM5_TEST_SIM_COM");
    muteCom_ = comFromEnvironment("ULM5_TEST_MUTE_COM");
    if (simCom_ <= 0 || muteCom_ <= 0) {
      GTEST_SKIP() << "ULM5_TEST_SIM_COM and ULM5_TEST_MUTE_COM name the prefix's linked ports: "
                      "run through scripts/windows";
    }
  }

  // The opening steps of the core, on the device alone.
  void openConfigured(Win32SerialDevice& device, int com) {
    ASSERT_TRUE(device.open(DefaultDevicePath(com)).ok());
    ASSERT_TRUE(device.setTimeouts());
    ASSERT_TRUE(device.setupQueues(4096, 2048));
    ASSERT_TRUE(device.setEventMask(kCoreEventMask));
    ASSERT_TRUE(device.setLineParameters(block()));
    ASSERT_TRUE(device.purge(PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR));
  }

  // Asks the simulator for its identification block.
  static void sendRequest(Win32SerialDevice& device) {
    const std::string frame = modbus::BuildFrame(std::string("\x01\x03\x00\x78\x00\x06", 6));
    int32_t written = 0;
    ASSERT_EQ(device.write(frame.data(), static_cast<int32_t>(frame.size()), written),
              SerialDevice::WriteStatus::kDone);
    EXPECT_EQ(written, static_cast<int32_t>(frame.size()));
  }

  // Waits as the event thread does and reads what it announces until a whole
  // frame came or a generous limit passed; the line events seen go to `seen`.
  static std::string readReply(Win32SerialDevice& device, uint32_t& seen) {
    std::string reply;
    const auto deadline = Clock::now() + 10s;
    while (reply.find("\r\n") == std::string::npos && Clock::now() < deadline) {
      const LineWait wait = device.waitLineEvent(200ms);
      if (wait.kind == LineWait::Kind::kEvent) seen |= wait.mask;
      SerialDevice::QueueStatus status;
      if (!device.queueStatus(status) || status.inQue == 0) continue;
      std::string chunk(static_cast<size_t>(status.inQue), '\0');
      const int32_t n = device.read(chunk.data(), status.inQue);
      if (n > 0) reply.append(chunk, 0, static_cast<size_t>(n));
    }
    return reply;
  }

  int simCom_ = 0;
  int muteCom_ = 0;
};

// A file of the prefix's temporary directory, by its UTF-8 name.
class TemporaryFile {
 public:
  explicit TemporaryFile(const wchar_t* name) {
    wchar_t directory[MAX_PATH + 1];
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, directory);
    wide_ = std::wstring(directory, length) + name;
    ::CloseHandle(::CreateFileW(wide_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, wide_.data(), static_cast<int>(wide_.size()),
                                           nullptr, 0, nullptr, nullptr);
    path_.assign(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide_.data(), static_cast<int>(wide_.size()), path_.data(),
                          size, nullptr, nullptr);
  }
  ~TemporaryFile() { ::DeleteFileW(wide_.c_str()); }
  const std::string& path() const { return path_; }

 private:
  std::wstring wide_;
  std::string path_;
};

TEST_F(ComPort, ARefusedOpenNamesItsCause) {
  using Kind = modbus::PortFailureKind;
  Win32SerialDevice holder;  // another copy of the program
  const TemporaryFile file(L"ulm5 порт.txt");
  const std::string sim = DefaultDevicePath(simCom_);
  const struct {
    const char* what;
    std::string path;
    bool held;
    TAfDatabits databits;
    Kind kind;
    const char* text;  // %d: the port number
  } cases[] = {
      {"missing", DefaultDevicePath(kMissingCom), false, TAfDatabits::db8, Kind::kNotFound,
       "Invalid port number (COM%d)"},
      {"held by another copy", sim, true, TAfDatabits::db8, Kind::kHeldByOther,
       "Can't open device COM%d"},
      {"a file", file.path(), false, TAfDatabits::db8, Kind::kNotSerial, "Can't open device COM%d"},
      {"no device of the serial kind", "\\\\.\\NUL", false, TAfDatabits::db8, Kind::kNotSerial,
       "Can't open device COM%d"},
      // A driver that refuses the line settings is no port held by another.
      {"4 data bits", sim, false, TAfDatabits::db4, Kind::kSettingsRefused,
       "Error setting parameters from DCB"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.held) {
      ASSERT_TRUE(holder.open(c.path).ok());
    }
    TAfComPort port{"CommModBus"};
    port.SetDevicePathResolver([&](int) { return c.path; });
    port.SetComNumber(7);
    port.SetDatabits(c.databits);
    try {
      port.Open();
      ADD_FAILURE() << "opened";
    } catch (const EAfComPortCoreError& e) {
      char text[64];
      std::snprintf(text, sizeof text, c.text, 7);
      EXPECT_STREQ(e.what(), text);
    }
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(port.LastFailure().kind, c.kind);
    EXPECT_EQ(port.LastFailure().devicePath, c.path);
    holder.close();
  }

  // Free again: it opens, also with nothing else changed.
  TAfComPort port{"CommModBus"};
  port.SetComNumber(static_cast<uint16_t>(simCom_));
  ASSERT_NO_THROW(port.Open());
  EXPECT_EQ(port.LastFailure().kind, Kind::kNone);
  EXPECT_EQ(port.LastFailure().devicePath, sim);
  port.Close();
}

// COM5=com1 in section "Ports": the bare name goes to the device namespace,
// the only form that reaches COM10 and above, and opens the port.
TEST_F(ComPort, ABareComNameInSectionPortsOpensThePort) {
  const settings::ProfileText profile =
      settings::ProfileText::parse("[Ports]\r\nCOM5=com" + std::to_string(simCom_) + "\r\n");
  const std::string device = settings::PortDevicePath(profile, 5);
  EXPECT_EQ(device, "\\\\.\\com" + std::to_string(simCom_));
  TAfComPort port{"CommModBus"};
  port.SetDevicePathResolver([&](int n) { return settings::PortDevicePath(profile, n); });
  port.SetComNumber(5);
  ASSERT_NO_THROW(port.Open());
  EXPECT_EQ(port.LastFailure().devicePath, device);
  port.Close();
}

TEST_F(ComPort, LineParametersRoundTripThroughTheDcb) {
  Win32SerialDevice device;
  ASSERT_NO_FATAL_FAILURE(openConfigured(device, simCom_));
  for (const TAfBaudrate rate :
       {TAfBaudrate::br2400, TAfBaudrate::br4800, TAfBaudrate::br9600, TAfBaudrate::br19200,
        TAfBaudrate::br38400, TAfBaudrate::br57600, TAfBaudrate::br115200}) {
    const DCB wanted = block(rate);
    ASSERT_TRUE(device.setLineParameters(wanted)) << BaudRateValue(rate);
    DCB actual{};
    ASSERT_TRUE(device.getLineParameters(actual));
    EXPECT_EQ(actual.BaudRate, wanted.BaudRate);
    EXPECT_EQ(actual.ByteSize, 8);
    EXPECT_EQ(actual.Parity, NOPARITY);
    EXPECT_EQ(actual.StopBits, ONESTOPBIT);
    EXPECT_TRUE(actual.Flags & dcb_flags::fBinary);
    EXPECT_EQ(actual.Flags & (dcb_flags::fOutX | dcb_flags::fInX | dcb_flags::fOutxCtsFlow), 0u);
  }
}

// A refused open puts back what the device had: here 9600 bit/s left by an
// earlier program, and the timeouts it was opened with.
TEST_F(ComPort, TheFoundSettingsComeBackWhenAsked) {
  Win32SerialDevice device;
  ASSERT_NO_FATAL_FAILURE(openConfigured(device, simCom_));
  ASSERT_TRUE(device.setLineParameters(block(TAfBaudrate::br9600)));
  device.close();

  ASSERT_TRUE(device.open(DefaultDevicePath(simCom_)).ok());
  COMMTIMEOUTS found{};
  ASSERT_TRUE(::GetCommTimeouts(device.nativeHandle(), &found));
  ASSERT_TRUE(device.setTimeouts());
  ASSERT_TRUE(device.setLineParameters(block()));
  DCB actual{};
  ASSERT_TRUE(device.getLineParameters(actual));
  ASSERT_EQ(actual.BaudRate, 115200u);

  device.restoreFoundSettings();
  ASSERT_TRUE(device.getLineParameters(actual));
  EXPECT_EQ(actual.BaudRate, 9600u);
  COMMTIMEOUTS timeouts{};
  ASSERT_TRUE(::GetCommTimeouts(device.nativeHandle(), &timeouts));
  EXPECT_EQ(timeouts.ReadIntervalTimeout, found.ReadIntervalTimeout);
  EXPECT_EQ(timeouts.ReadTotalTimeoutConstant, found.ReadTotalTimeoutConstant);
  EXPECT_EQ(timeouts.WriteTotalTimeoutConstant, found.WriteTotalTimeoutConstant);

  ASSERT_TRUE(device.setLineParameters(block()));
}

TEST_F(ComPort, TheReplyIsAnnouncedQueuedAndRead) {
  Win32SerialDevice device;
  ASSERT_NO_FATAL_FAILURE(openConfigured(device, simCom_));
  ASSERT_NO_FATAL_FAILURE(sendRequest(device));
  uint32_t seen = 0;
  const std::string reply = readReply(device, seen);
  EXPECT_TRUE(seen & EV_RXCHAR) << "events seen: " << seen;
  const modbus::ExchangeResult decoded = modbus::DecodeReply(reply);
  ASSERT_EQ(decoded.size(), 3u + 12u) << reply;
  EXPECT_EQ(decoded.substr(0, 3), std::string("\x01\x03\x0C", 3));
}

TEST_F(ComPort, AWaitEndsOnTheWakerOrTheTimeout) {
  Win32SerialDevice device;
  ASSERT_NO_FATAL_FAILURE(openConfigured(device, simCom_));
  EXPECT_EQ(device.waitLineEvent(50ms).kind, LineWait::Kind::kTimeout);
  std::thread waker([&] {
    std::this_thread::sleep_for(100ms);
    device.wakeLineWait();
  });
  EXPECT_EQ(device.waitLineEvent(20s).kind, LineWait::Kind::kWoken);
  waker.join();
  // An empty mask ends a wait for good: only the waker and the time remain.
  ASSERT_TRUE(device.setEventMask(0));
  ASSERT_NO_FATAL_FAILURE(sendRequest(device));
  const auto until = Clock::now() + 500ms;
  while (Clock::now() < until) EXPECT_NE(device.waitLineEvent(100ms).kind, LineWait::Kind::kEvent);
}

TEST_F(ComPort, PurgeEmptiesTheInputQueue) {
  Win32SerialDevice device;
  ASSERT_NO_FATAL_FAILURE(openConfigured(device, simCom_));
  ASSERT_NO_FATAL_FAILURE(sendRequest(device));
  SerialDevice::QueueStatus status;
  const auto deadline = Clock::now() + 10s;
  while (Clock::now() < deadline && device.queueStatus(status) && status.inQue == 0) {
    device.waitLineEvent(100ms);
  }
  ASSERT_GT(status.inQue, 0);
  ASSERT_TRUE(device.purge(PURGE_RXABORT | PURGE_RXCLEAR));
  ASSERT_TRUE(device.queueStatus(status));
  EXPECT_EQ(status.inQue, 0);
  char buffer[64];
  EXPECT_EQ(device.read(buffer, sizeof buffer), 0);
}

TEST_F(ComPort, AWriteTheFarEndDoesNotTakeIsInterruptedByTheWaker) {
  Win32SerialDevice device;
  ASSERT_NO_FATAL_FAILURE(openConfigured(device, muteCom_));
  const std::string data(1 << 20, 'x');
  std::thread waker([&] {
    std::this_thread::sleep_for(300ms);
    device.wakeWriter();
  });
  int32_t written = -1;
  EXPECT_EQ(device.write(data.data(), static_cast<int32_t>(data.size()), written),
            SerialDevice::WriteStatus::kInterrupted);
  waker.join();
  EXPECT_GE(written, 0);
  EXPECT_LT(written, static_cast<int32_t>(data.size()));
  EXPECT_TRUE(device.purge(PURGE_TXABORT | PURGE_TXCLEAR));
  device.close();
  ASSERT_NO_FATAL_FAILURE(openConfigured(device, muteCom_));
}

TEST_F(ComPort, AThousandOpenAndCloseCyclesLeaveNoHandle) {
  TAfComPortCore core;
  core.setLineParameters(block());
  const auto handles = [] {
    DWORD count = 0;
    ::GetProcessHandleCount(::GetCurrentProcess(), &count);
    return count;
  };
  // The first cycle creates what the process keeps (the thread pool, the
  // runtime's own handles).
  ASSERT_TRUE(core.open(simCom_));
  core.close();
  const DWORD before = handles();
  for (int i = 0; i < 1000; ++i) {
    ASSERT_TRUE(core.open(simCom_)) << i;
    core.close();
  }
  EXPECT_EQ(handles(), before);
}

TEST(ThreadPriority, EveryLevelReachesTheThread) {
  std::thread worker([] {
    for (const TThreadPriority p :
         {TThreadPriority::tpIdle, TThreadPriority::tpLowest, TThreadPriority::tpLower,
          TThreadPriority::tpNormal, TThreadPriority::tpHigher, TThreadPriority::tpHighest,
          TThreadPriority::tpTimeCritical}) {
      ASSERT_TRUE(applyThreadPriority(currentPlatformThreadId(), p));
      EXPECT_EQ(::GetThreadPriority(::GetCurrentThread()), PlatformPriority(p));
    }
  });
  worker.join();
}

TEST(DevicePath, DefaultsToTheDeviceNamespaceName) {
  EXPECT_EQ(DefaultDevicePath(1), "\\\\.\\COM1");
  EXPECT_EQ(DefaultDevicePath(32), "\\\\.\\COM32");
}

}  // namespace
}  // namespace transport::win32
