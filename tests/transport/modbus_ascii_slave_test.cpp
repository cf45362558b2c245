#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "child_process.h"
#include "modbus/requests.h"
#include "modbus/steady_tick.h"
#include "transport/af_com_port.h"
#include "transport/dispatcher_event_pump.h"

#ifndef ULM5_SLAVE_SCRIPT
#error "ULM5_SLAVE_SCRIPT names the Modbus ASCII slave script"
#endif

namespace transport {
namespace {

using namespace std::chrono_literals;
using testing::ChildProcess;

std::vector<std::string> ptyPaths(const std::string& socatLog) {
  std::vector<std::string> paths;
  const std::regex line("PTY is (/dev/pts/[0-9]+)");
  for (auto it = std::sregex_iterator(socatLog.begin(), socatLog.end(), line);
       it != std::sregex_iterator(); ++it) {
    paths.push_back((*it)[1]);
  }
  return paths;
}

std::string bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s.push_back(static_cast<char>(v));
  return s;
}

// Our link on one end of a socat pseudo-terminal pair, the third-party slave
// on the other. Only well-formed frames go out: that slave stays deaf after
// a bad one.
TEST(ModbusAsciiSlave, SixRequestsAgainstAThirdPartySlave) {
  ChildProcess socat({"socat", "-d", "-d", "pty,raw,echo=0", "pty,raw,echo=0"});
  ASSERT_TRUE(socat.started());
  const std::string log = socat.readUntil("starting data transfer loop", 20s);
  const std::vector<std::string> paths = ptyPaths(log);
  ASSERT_EQ(paths.size(), 2u) << log;
  ChildProcess slave({"/usr/bin/python3", ULM5_SLAVE_SCRIPT, paths[1]});
  ASSERT_TRUE(slave.started());
  const std::string said = slave.readUntil("ready", 60s);
  ASSERT_NE(said.find("ready"), std::string::npos) << said;

  TAfComPort port("CommModBus");
  port.SetDevicePathResolver([&](int) { return paths[0]; });
  modbus::SteadyTick tick;
  DispatcherEventPump pump;
  const modbus::LinkServices link{port, tick, pump, nullptr};
  // Generous for a loaded machine: the slave is an interpreter.
  const modbus::ExchangeTiming timing{3000, 1000, 100};
  constexpr uint8_t kPort = 1, kAddress = 0;
  constexpr int kBaud115200 = 6;

  EXPECT_EQ(modbus::ReadCoils(link, kPort, kBaud115200, timing, kAddress, 0, 8),
            bytes({0x00, 0x01, 0x01, 0x8D}));
  EXPECT_EQ(modbus::ReadDiscreteInputs(link, kPort, kBaud115200, timing, kAddress, 0, 9),
            bytes({0x00, 0x02, 0x02, 0x02, 0x01}));
  EXPECT_EQ(modbus::ReadHoldingRegisters(link, kPort, kBaud115200, timing, kAddress, 0, 3),
            bytes({0x00, 0x03, 0x06, 0x12, 0x34, 0xAB, 0xCD, 0x00, 0x07}));
  EXPECT_EQ(modbus::ReadInputRegisters(link, kPort, kBaud115200, timing, kAddress, 0, 2),
            bytes({0x00, 0x04, 0x04, 0x00, 100, 0x00, 200}));
  EXPECT_EQ(modbus::WriteMultipleCoils(link, kPort, kBaud115200, timing, kAddress, 16, 10,
                                       bytes({0xFF, 0x02})),
            bytes({0x00, 0x0F, 0x00, 0x10, 0x00, 0x0A}));
  EXPECT_EQ(modbus::WriteMultipleRegisters(link, kPort, kBaud115200, timing, kAddress, 10, 2,
                                           bytes({0x00, 0x05, 0xBE, 0xEF})),
            bytes({0x00, 0x10, 0x00, 0x0A, 0x00, 0x02}));
  // The writes reached the slave's memory.
  EXPECT_EQ(modbus::ReadHoldingRegisters(link, kPort, kBaud115200, timing, kAddress, 10, 2),
            bytes({0x00, 0x03, 0x04, 0x00, 0x05, 0xBE, 0xEF}));
  EXPECT_EQ(modbus::ReadCoils(link, kPort, kBaud115200, timing, kAddress, 16, 10),
            bytes({0x00, 0x01, 0x02, 0xFF, 0x02}));
  EXPECT_FALSE(port.IsOpen());
}

}  // namespace
}  // namespace transport
