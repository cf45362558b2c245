// The hidden window that holds the serial port: the port goes with it.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <string>

#include "sim/simulator.h"
#include "ui/tform_mod_bus.h"

namespace {

TEST(FormModBus, DestructionClosesThePortWithoutOnPortClose) {
  sim::Simulator simulator{sim::SimulatorOptions{}};
  const std::string path = simulator.devicePath();
  int closes = 0;
  {
    TformModBus form([&](int) { return path; });
    transport::TAfComPort& port = form.CommModBus();
    port.OnPortClose = [&](transport::TAfCustomSerialPort&) { ++closes; };
    port.SetComNumber(1);
    port.Open();
    ASSERT_TRUE(port.IsOpen());
  }
  EXPECT_EQ(closes, 0);
  // The device is free again: its exclusive lock went with the port.
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  ASSERT_GE(fd, 0);
  EXPECT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
  ::close(fd);
}

}  // namespace
