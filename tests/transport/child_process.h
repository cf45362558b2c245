#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

namespace transport::testing {

// A child process owned by its PID, its stdout and stderr merged into a pipe
// the test reads line by line; ended by its PID.
class ChildProcess {
 public:
  explicit ChildProcess(const std::vector<std::string>& argv);
  ~ChildProcess() { stop(); }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool started() const { return pid_ > 0; }
  // Collects output until a line contains `marker` or the limit passes;
  // returns everything read so far.
  std::string readUntil(const std::string& marker, std::chrono::milliseconds limit);
  void stop();

 private:
  pid_t pid_ = -1;
  int output_ = -1;
  std::string buffered_;
};

}  // namespace transport::testing
