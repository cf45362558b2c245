#include "oplog/operations_log.h"

#include <utility>

#include "oplog/append_to_file.h"
#include "oplog/log_line.h"
#include "oplog/log_path.h"

namespace oplog {

namespace {

std::optional<LogFailure> appendLine(const std::string& line) {
  using Kind = LogFailure::Kind;
  const auto file = OperationsLogPath();
  if (!file) return LogFailure{Kind::kNoPlace, {}, {}};
  std::error_code error;
  std::filesystem::create_directories(file->parent_path(), error);
  if (error) return LogFailure{Kind::kNoFolder, file->parent_path(), error};
  error = AppendToFile(*file, line + '\n');
  if (error) return LogFailure{Kind::kNoFile, *file, error};
  return std::nullopt;
}

}  // namespace

void OperationsLog::instrumentFound(int portNumber, std::string serial) {
  if (serial.empty())
    serials_.erase(portNumber);
  else
    serials_[portNumber] = std::move(serial);
}

void OperationsLog::beginOperation(std::string name) {
  if (depth_++ == 0) operation_ = std::move(name);
}

void OperationsLog::endOperation() {
  if (depth_ == 0 || --depth_ > 0) return;
  operation_.clear();
  if (open_) append(*std::exchange(open_, std::nullopt));
}

void OperationsLog::heard(const modbus::WriteRequest& request,
                          const modbus::ExchangeResult& result) {
  if (!open_) {
    const auto serial = serials_.find(request.portNumber);
    open_ = LogEntry{source_.now ? source_.now() : std::string(),
                     source_.program,
                     source_.port ? source_.port(request.portNumber) : std::string(),
                     serial == serials_.end() ? std::string() : serial->second,
                     operation_,
                     {}};
  }
  open_->requests.push_back({request, device::FateOf(result)});
  if (depth_ == 0) append(*std::exchange(open_, std::nullopt));
}

void OperationsLog::append(const LogEntry& entry) {
  if (const auto failure = appendLine(LogLine(entry)); failure && failed_) failed_(*failure);
}

}  // namespace oplog
