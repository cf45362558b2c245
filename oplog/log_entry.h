#pragma once

#include <string>
#include <vector>

#include "device/block_writes.h"
#include "modbus/exchange_observer.h"

namespace oplog {

struct WrittenRequest {
  modbus::WriteRequest request;
  device::BlockFate fate = device::BlockFate::kNotWritten;
};

// One line of the log: the write requests of one operation, each with its fate.
struct LogEntry {
  std::string time;                      // the first request's, ISO 8601 with the zone's offset
  std::string program;                   // "ulm5-configurator", "ulm5-cli"
  std::string port;                      // as the program names it: "COM1 → /dev/ttyUSB0"
  std::string serial;                    // of the instrument found there; empty when not known
  std::string operation;                 // empty when not known
  std::vector<WrittenRequest> requests;  // in the order sent, at least one
};

}  // namespace oplog
