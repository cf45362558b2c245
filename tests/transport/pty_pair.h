#pragma once

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <string>

namespace transport::testing {

// A pseudo-terminal pair: the test holds the master (the far end) and a
// descriptor of the slave, so that the master does not see a hang-up while
// the port under test is closed between uses.
class PtyPair {
 public:
  PtyPair() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) return;
    char name[128];
    if (::ptsname_r(master_, name, sizeof name) != 0) return;
    slavePath_ = name;
    slaveKeeper_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
  }
  ~PtyPair() {
    closeMaster();
    if (slaveKeeper_ >= 0) ::close(slaveKeeper_);
  }
  PtyPair(const PtyPair&) = delete;
  PtyPair& operator=(const PtyPair&) = delete;

  bool ok() const { return master_ >= 0 && slaveKeeper_ >= 0; }
  int master() const { return master_; }
  const std::string& slavePath() const { return slavePath_; }
  void closeMaster() {
    if (master_ >= 0) ::close(master_);
    master_ = -1;
  }
  void closeSlaveKeeper() {
    if (slaveKeeper_ >= 0) ::close(slaveKeeper_);
    slaveKeeper_ = -1;
  }

  // Reads from the master until `count` bytes came or the limit passed.
  std::string readMaster(size_t count, std::chrono::milliseconds limit = std::chrono::seconds(20)) {
    std::string got;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (got.size() < count && std::chrono::steady_clock::now() < deadline) {
      pollfd p{master_, POLLIN, 0};
      if (::poll(&p, 1, 50) <= 0 || !(p.revents & POLLIN)) continue;
      char buf[4096];
      const ssize_t n = ::read(master_, buf, sizeof buf);
      if (n > 0) got.append(buf, static_cast<size_t>(n));
    }
    return got;
  }
  bool writeMaster(const std::string& data) {
    return ::write(master_, data.data(), data.size()) == static_cast<ssize_t>(data.size());
  }

 private:
  int master_ = -1;
  int slaveKeeper_ = -1;
  std::string slavePath_;
};

}  // namespace transport::testing
