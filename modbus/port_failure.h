#pragma once

#include <string>

namespace modbus {

// Why the serial port failed, as the backend saw it where the call failed.
// Both front ends word it in their own language; nobody re-derives it by
// trying the device a second time.
enum class PortFailureKind {
  kNone,             // the last open succeeded and the port has not failed since
  kNotFound,         // no such device
  kNoPermission,     // the user may not open it (Linux: not in group dialout)
  kHeldByOther,      // another program holds it (lock, exclusive open, sharing)
  kNotSerial,        // it opened, but is not a serial device
  kSettingsRefused,  // the driver refused the line settings
  kWentAway,         // it was open and disappeared (adapter unplugged, hang-up)
  kOther,            // anything else; systemError tells more
};

struct PortFailure {
  PortFailureKind kind = PortFailureKind::kNone;
  int systemError = 0;     // errno, or GetLastError() on Windows; 0 when unknown
  std::string devicePath;  // the device the port number resolved to
};

}  // namespace modbus
