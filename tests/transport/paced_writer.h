#pragma once

#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace transport::testing {

// Writes one byte to a terminal's master every `period` until destroyed, as a
// far end that keeps sending; while the terminal is full it waits for room.
class PacedWriter {
 public:
  PacedWriter(int master, std::chrono::microseconds period)
      : master_(master), period_(period), thread_([this] { run(); }) {}
  ~PacedWriter() {
    stop_ = true;
    thread_.join();
  }
  PacedWriter(const PacedWriter&) = delete;
  PacedWriter& operator=(const PacedWriter&) = delete;

 private:
  void run() {
    while (!stop_) {
      pollfd p{master_, POLLOUT, 0};
      if (::poll(&p, 1, 20) <= 0 || !(p.revents & POLLOUT)) continue;
      if (::write(master_, "t", 1) < 0) return;
      std::this_thread::sleep_for(period_);
    }
  }

  int master_;
  std::chrono::microseconds period_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace transport::testing
