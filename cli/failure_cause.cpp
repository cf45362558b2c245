#include "cli/failure_cause.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "modbus/result_codes.h"

namespace cli {

std::string RequestFailureCause(uint8_t code, int address, const std::string& devicePath) {
  const std::string at = " on " + devicePath;
  const std::string from = " from address " + std::to_string(address);
  switch (code) {
    case modbus::kPortHardwareError:
      return "the port failed during the exchange" + at;
    case modbus::kNoAnswer:
      return "no reply" + from + at;
    case modbus::kPortOpenError:
      return PortOpenCause(devicePath);
    case modbus::kNoStartMarker:
    case modbus::kTooShort:
    case modbus::kNoLf:
    case modbus::kNoCr:
    case modbus::kOddDigitCount:
      return "the reply" + from + at + " is not a whole Modbus ASCII frame (code " +
             std::to_string(code) + ")";
    case modbus::kLrcError:
      return "the reply" + from + at + " failed its LRC check";
    case modbus::kWrongAddress:
      return "the reply" + at + " came from another address than " + std::to_string(address);
    case modbus::kExceptionReply:
      return "address " + std::to_string(address) + at + " refused the request (exception reply)";
    case modbus::kWrongFunction:
    case modbus::kWrongByteCount:
    case modbus::kWrongLength:
    case modbus::kWrongWriteReplyLength:
      return "the reply" + from + at + " does not match the request";
    default:
      return {};
  }
}

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
