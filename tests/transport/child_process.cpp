#include "child_process.h"

#include <fcntl.h>
#include <poll.h>

namespace transport::testing {

ChildProcess::ChildProcess(const std::vector<std::string>& argv) {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) return;
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_ = ::fork();
  if (pid_ == 0) {
    ::dup2(fds[1], 1);
    ::dup2(fds[1], 2);
    ::execvp(args[0], args.data());
    ::_exit(127);
  }
  ::close(fds[1]);
  output_ = fds[0];
}

std::string ChildProcess::readUntil(const std::string& marker, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (buffered_.find(marker) == std::string::npos) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0 || output_ < 0) break;
    pollfd p{output_, POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
    char buf[1024];
    const ssize_t n = ::read(output_, buf, sizeof buf);
    if (n <= 0) break;
    buffered_.append(buf, static_cast<size_t>(n));
  }
  return buffered_;
}

void ChildProcess::stop() {
  if (pid_ > 0) {
    ::kill(pid_, SIGTERM);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
  }
  if (output_ >= 0) ::close(output_);
  output_ = -1;
}

}  // namespace transport::testing
