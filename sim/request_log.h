#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace sim {

// One good request frame as the simulator saw it on the line, and what became of it.
struct LoggedRequest {
  enum class Answer { kNormal, kException, kSilent };

  uint8_t address = 0;
  uint8_t function = 0;
  uint16_t start = 0;  // first register or bit; 0 if the frame is too short
  uint16_t count = 0;
  std::string data;  // the values of a write (after its byte count); else what follows the count
  bool answered = false;
  Answer how = Answer::kSilent;
};

// The fields of a decoded request (address, function, data; LRC removed);
// answered and how left at "silent".
LoggedRequest DescribeRequest(const std::string& request);

// The last `capacity` requests, oldest first. Thread-safe.
class RequestLog {
 public:
  static constexpr std::size_t kCapacity = 10000;

  void add(LoggedRequest entry);
  std::vector<LoggedRequest> entries() const;
  void clear();

 private:
  mutable std::mutex mutex_;
  std::deque<LoggedRequest> entries_;
};

}  // namespace sim
