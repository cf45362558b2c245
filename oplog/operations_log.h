#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>

#include "modbus/exchange_observer.h"
#include "oplog/log_entry.h"
#include "oplog/log_failure.h"

namespace oplog {

// How a program is named in the log, and how it tells the time and names a port.
struct LogSource {
  std::string program;
  std::function<std::string()> now;                 // local time, ISO 8601 with the offset
  std::function<std::string(int portNumber)> port;  // "COM1 → /dev/ttyUSB0"
};

// The log of what a program wrote to instruments (OperationsLogPath): one
// line for each operation that sent a write request, with every request it
// sent, appended when the operation ends; a write outside any operation
// gets a line of its own at once. A line that cannot be written goes to the
// failure listener and changes nothing else: the operation has gone ahead.
class OperationsLog {
 public:
  using FailureListener = std::function<void(const LogFailure&)>;

  explicit OperationsLog(LogSource source) : source_(std::move(source)) {}
  OperationsLog(const OperationsLog&) = delete;
  OperationsLog& operator=(const OperationsLog&) = delete;

  void setFailureListener(FailureListener listener) { failed_ = std::move(listener); }

  // The serial number of the instrument found on a port goes with the
  // writes there; an empty one forgets it.
  void instrumentFound(int portNumber, std::string serial);

  // Operations may nest; the outermost one names the line.
  void beginOperation(std::string name);
  void endOperation();

  // A write request has ended with the result its caller got.
  void heard(const modbus::WriteRequest& request, const modbus::ExchangeResult& result);

 private:
  void append(const LogEntry& entry);

  LogSource source_;
  FailureListener failed_;
  std::map<int, std::string> serials_;
  int depth_ = 0;
  std::string operation_;
  std::optional<LogEntry> open_;  // the operation's line, once it has written
};

}  // namespace oplog
