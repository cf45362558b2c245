#pragma once

// A pseudo-terminal pair whose master answers every byte with itself: the far
// end of the serial benches.

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <atomic>
#include <string>
#include <thread>

namespace bench {

class Pty {
 public:
  Pty() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    ::grantpt(master_);
    ::unlockpt(master_);
    char name[128] = {};
    ::ptsname_r(master_, name, sizeof name);
    slave_ = name;
    // Held open so that the master never sees a hang-up between opens.
    keeper_ = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  }
  ~Pty() {
    ::close(keeper_);
    ::close(master_);
  }
  Pty(const Pty&) = delete;
  Pty& operator=(const Pty&) = delete;

  int master() const { return master_; }
  const std::string& slave() const { return slave_; }

 private:
  int master_ = -1, keeper_ = -1;
  std::string slave_;
};

class Echo {
 public:
  explicit Echo(int master) : master_(master), thread_([this] { run(); }) {}
  ~Echo() { stop(); }
  Echo(const Echo&) = delete;
  Echo& operator=(const Echo&) = delete;

  void stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }

 private:
  void run() {
    char buf[4096];
    while (!stop_) {
      pollfd p{master_, POLLIN, 0};
      if (::poll(&p, 1, 20) <= 0 || !(p.revents & POLLIN)) continue;
      const ssize_t n = ::read(master_, buf, sizeof buf);
      if (n > 0 && ::write(master_, buf, static_cast<size_t>(n)) != n) return;
    }
  }
  int master_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace bench
