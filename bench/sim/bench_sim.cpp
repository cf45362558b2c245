// Reply latency of the simulator (request LF to the first reply byte, turnaround
// 0) beside python3-pymodbus's ASCII serial server on the same kind of
// pseudo-terminal pair, and the simulator's CPU share while idle.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "modbus/frame_codec.h"
#include "sim/simulator.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRounds = 400;

// The bench holds the master of a pseudo-terminal; the server under test
// opens its slave like a serial device.
struct PtyPair {
  PtyPair() {
    master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
      throw std::runtime_error("pseudo-terminal");
    }
    slave = ::ptsname(master);
    // Hold the slave open so the master never sees a hang-up, and make it raw.
    keep = ::open(slave.c_str(), O_RDWR | O_NOCTTY);
    termios t{};
    ::tcgetattr(keep, &t);
    ::cfmakeraw(&t);
    ::cfsetspeed(&t, B115200);
    ::tcsetattr(keep, TCSANOW, &t);
  }
  ~PtyPair() {
    ::close(keep);
    ::close(master);
  }
  int master = -1;
  int keep = -1;
  std::string slave;
};

// Reads the rest of a reply up to LF; false if none came within `limit`.
bool drainReply(int fd, std::chrono::milliseconds limit) {
  std::string got;
  const auto end = Clock::now() + limit;
  while (got.find('\n') == std::string::npos) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
    if (left.count() <= 0) return false;
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) return false;
    char buffer[512];
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n > 0) got.append(buffer, static_cast<std::size_t>(n));
  }
  return true;
}

// One request; milliseconds from the write of its last byte to the first reply byte.
std::optional<double> timeOne(int fd, const std::string& frame, std::chrono::milliseconds limit) {
  if (::write(fd, frame.data(), frame.size()) != static_cast<ssize_t>(frame.size())) return {};
  const auto t0 = Clock::now();
  pollfd p{fd, POLLIN, 0};
  if (::poll(&p, 1, static_cast<int>(limit.count())) <= 0) return {};
  const auto t1 = Clock::now();
  if (!drainReply(fd, limit)) return {};
  return std::chrono::duration<double, std::milli>(t1 - t0).count();
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0.0 : v[v.size() / 2];
}

std::vector<double> measure(int fd) {
  const std::string frame = modbus::BuildFrame(std::string("\x01\x03\x00\x78\x00\x06", 6));
  std::vector<double> times;
  for (int i = 0; i < kRounds; ++i) {
    if (const auto t = timeOne(fd, frame, std::chrono::milliseconds(2000))) times.push_back(*t);
  }
  return times;
}

double cpuSeconds() {
  timespec ts{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

// pymodbus's server as a child owned by its PID; empty if it never answered.
std::vector<double> measurePymodbus() {
  PtyPair pty;
  std::string python = "/usr/bin/python3";
  std::string script = ULM5_PYMODBUS_SERVER;
  std::vector<char*> argv{python.data(), script.data(), pty.slave.data(), nullptr};
  pid_t pid = -1;
  if (::posix_spawn(&pid, python.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return {};
  // Ready when it answers: ask until it does (the interpreter takes a while to start).
  const std::string frame = modbus::BuildFrame(std::string("\x01\x03\x00\x78\x00\x06", 6));
  bool ready = false;
  const auto end = Clock::now() + std::chrono::seconds(30);
  while (!ready && Clock::now() < end) {
    ready = timeOne(pty.master, frame, std::chrono::milliseconds(300)).has_value();
    int status = 0;
    if (::waitpid(pid, &status, WNOHANG) == pid) {
      pid = -1;
      break;
    }
  }
  std::vector<double> times;
  if (ready) {
    ::tcflush(pty.master, TCIFLUSH);
    times = measure(pty.master);
  }
  if (pid > 0) {
    ::kill(pid, SIGTERM);
    ::waitpid(pid, nullptr, 0);
  }
  return times;
}

}  // namespace

int main() {
  PtyPair pty;
  sim::SimulatorOptions options;
  options.device = pty.slave;
  options.turnaroundMs = 0;
  sim::Simulator simulator(options);

  const std::vector<double> ours = measure(pty.master);
  const double oursMs = median(ours);
  std::printf("ulm5-sim: %zu of %d answered, median %.3f ms, max %.3f ms\n", ours.size(), kRounds,
              oursMs, ours.empty() ? 0.0 : *std::max_element(ours.begin(), ours.end()));

  // Idle: no requests; the serving thread wakes only for its measurement update.
  const double cpu0 = cpuSeconds();
  const auto wall0 = Clock::now();
  std::this_thread::sleep_for(std::chrono::seconds(5));
  const double idlePct =
      (cpuSeconds() - cpu0) * 100.0 / std::chrono::duration<double>(Clock::now() - wall0).count();
  std::printf("ulm5-sim idle: %.4f%% of one core\n", idlePct);

  const std::vector<double> theirs = measurePymodbus();
  const double theirsMs = median(theirs);
  if (theirs.empty()) {
    std::printf("pymodbus ASCII server: not available\n");
    std::printf("BENCH sim reply_ms=%.3f reply_ratio=nan idle_cpu_pct=%.4f\n", oursMs, idlePct);
    return 0;
  }
  std::printf("pymodbus ASCII server: %zu of %d answered, median %.3f ms\n", theirs.size(), kRounds,
              theirsMs);
  std::printf("BENCH sim reply_ms=%.3f reply_ratio=%.3f idle_cpu_pct=%.4f pymodbus_ms=%.3f\n",
              oursMs, oursMs / theirsMs, idlePct, theirsMs);
  return 0;
}
