#pragma once

#include <termios.h>

#include <chrono>
#include <functional>
#include <string>

namespace sim::test {

// A minimal Modbus ASCII master on a serial device path, built on the codec,
// for tests that must not depend on the serial port component.
class TestMaster {
 public:
  explicit TestMaster(const std::string& path, speed_t speed = B115200);
  ~TestMaster();
  TestMaster(const TestMaster&) = delete;
  TestMaster& operator=(const TestMaster&) = delete;

  void setSpeed(speed_t speed);
  void send(const std::string& bytes);
  // Bytes up to and with the first LF, or what came before `limit` ran out.
  std::string readFrame(std::chrono::milliseconds limit = std::chrono::seconds(10));
  // Everything that arrives until the line has been quiet for `quiet`, or `limit`.
  std::string readUntilQuiet(std::chrono::milliseconds quiet,
                             std::chrono::milliseconds limit = std::chrono::seconds(10));
  // Frames the payload, sends it and returns the decoded reply (or a result code).
  std::string ask(const std::string& payload);
  // Whether the far end hangs up (POLLHUP on the descriptor held) within `wait`.
  bool seesHangup(std::chrono::milliseconds wait);

 private:
  // Reads what is waiting within `wait`; empty when nothing came.
  std::string readSome(std::chrono::milliseconds wait);
  int fd_ = -1;
};

// Waits (polling, generous limit) until `done` holds; false if it never did.
bool eventually(const std::function<bool()>& done,
                std::chrono::milliseconds limit = std::chrono::seconds(10));

std::string bytes(std::initializer_list<int> list);

}  // namespace sim::test
