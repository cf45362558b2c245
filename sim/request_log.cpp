#include "sim/request_log.h"

#include <utility>

namespace sim {

namespace {

constexpr std::size_t kHeaderSize = 6;       // address, function, start, count
constexpr std::size_t kWriteHeaderSize = 7;  // ... and the byte count

uint16_t word(const std::string& r, std::size_t at) {
  return static_cast<uint16_t>((static_cast<uint8_t>(r[at]) << 8) |
                               static_cast<uint8_t>(r[at + 1]));
}

}  // namespace

LoggedRequest DescribeRequest(const std::string& request) {
  LoggedRequest entry;
  if (!request.empty()) entry.address = static_cast<uint8_t>(request[0]);
  if (request.size() > 1) entry.function = static_cast<uint8_t>(request[1]);
  if (request.size() < kHeaderSize) return entry;
  entry.start = word(request, 2);
  entry.count = word(request, 4);
  const bool write = entry.function == 0x0F || entry.function == 0x10;
  const std::size_t dataAt = write ? kWriteHeaderSize : kHeaderSize;
  if (request.size() > dataAt) entry.data = request.substr(dataAt);
  return entry;
}

void RequestLog::add(LoggedRequest entry) {
  const std::lock_guard lock(mutex_);
  if (entries_.size() >= kCapacity) entries_.pop_front();
  entries_.push_back(std::move(entry));
}

std::vector<LoggedRequest> RequestLog::entries() const {
  const std::lock_guard lock(mutex_);
  return {entries_.begin(), entries_.end()};
}

void RequestLog::clear() {
  const std::lock_guard lock(mutex_);
  entries_.clear();
}

}  // namespace sim
