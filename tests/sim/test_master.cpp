#include "test_master.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <stdexcept>
#include <thread>

#include "modbus/frame_codec.h"

namespace sim::test {

using Clock = std::chrono::steady_clock;

TestMaster::TestMaster(const std::string& path, speed_t speed) {
  fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (fd_ < 0) throw std::runtime_error("cannot open " + path);
  setSpeed(speed);
  ::tcflush(fd_, TCIOFLUSH);
}

TestMaster::~TestMaster() { ::close(fd_); }

void TestMaster::setSpeed(speed_t speed) {
  termios t{};
  ::tcgetattr(fd_, &t);
  ::cfmakeraw(&t);
  t.c_cflag |= CLOCAL | CREAD;
  t.c_cc[VMIN] = 0;
  t.c_cc[VTIME] = 0;
  ::cfsetspeed(&t, speed);
  ::tcsetattr(fd_, TCSANOW, &t);
}

void TestMaster::send(const std::string& bytes) {
  if (::write(fd_, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
    throw std::runtime_error("short write");
  }
}

std::string TestMaster::readSome(std::chrono::milliseconds wait) {
  pollfd p{fd_, POLLIN, 0};
  if (::poll(&p, 1, static_cast<int>(wait.count())) <= 0) return {};
  char buffer[4096];
  const ssize_t n = ::read(fd_, buffer, sizeof buffer);
  return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

std::string TestMaster::readFrame(std::chrono::milliseconds limit) {
  std::string got;
  const auto end = Clock::now() + limit;
  while (got.find('\n') == std::string::npos) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
    if (left.count() <= 0) break;
    got += readSome(left);
  }
  return got;
}

std::string TestMaster::readUntilQuiet(std::chrono::milliseconds quiet,
                                       std::chrono::milliseconds limit) {
  std::string got;
  const auto end = Clock::now() + limit;
  while (Clock::now() < end) {
    const std::string piece = readSome(quiet);
    if (piece.empty()) break;
    got += piece;
  }
  return got;
}

std::string TestMaster::ask(const std::string& payload) {
  send(modbus::BuildFrame(payload));
  return modbus::DecodeReply(readFrame());
}

bool TestMaster::seesHangup(std::chrono::milliseconds wait) {
  pollfd p{fd_, POLLIN, 0};
  return ::poll(&p, 1, static_cast<int>(wait.count())) > 0 && (p.revents & POLLHUP) != 0;
}

bool eventually(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  const auto end = Clock::now() + limit;
  while (!done()) {
    if (Clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

std::string bytes(std::initializer_list<int> list) {
  std::string s;
  for (int b : list) s.push_back(static_cast<char>(b));
  return s;
}

}  // namespace sim::test
