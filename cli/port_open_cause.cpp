#include "cli/failure_cause.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace cli {

std::string PortOpenCause(const std::string& devicePath) {
  struct stat status {};
  if (::stat(devicePath.c_str(), &status) != 0) {
    return errno == ENOENT ? devicePath + " does not exist"
                           : devicePath + ": " + std::strerror(errno);
  }
  const int fd = ::open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    if (errno == EACCES || errno == EPERM) {
      return "no permission to open " + devicePath + " (is the user in group dialout?)";
    }
    if (errno == EBUSY) return devicePath + " is held by another program";
    return devicePath + ": " + std::strerror(errno);
  }
  std::string cause = devicePath + " could not be opened";
  termios settings{};
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    cause = devicePath + " is held by another program";
  } else if (::tcgetattr(fd, &settings) != 0) {
    cause = devicePath + " is not a serial port";
  }
  ::close(fd);
  return cause;
}

}  // namespace cli
