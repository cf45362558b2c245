#pragma once

#include <cstdint>
#include <vector>

namespace transport {

// The transmit queue. Empty and full both have read index == write index;
// the full flag tells them apart. Not synchronised: the core's write lock
// guards it.
class TAfCircularBuffer {
 public:
  explicit TAfCircularBuffer(int32_t capacity);

  int32_t Capacity() const { return capacity_; }
  int32_t BufUsed() const;
  int32_t BufFree() const { return capacity_ - BufUsed(); }
  // Length of the run that starts at the read index and does not wrap.
  int32_t ContiguousUsed() const;
  const char* ReadPtr() const { return storage_.data() + readIndex_; }

  // All or nothing: refused when count < 1 or it does not fit.
  bool Write(const char* data, int32_t count);
  bool Remove(int32_t count);
  void Clear();

 private:
  int32_t advance(int32_t index, int32_t by) const;

  std::vector<char> storage_;
  int32_t capacity_;
  int32_t readIndex_ = 0;
  int32_t writeIndex_ = 0;
  bool full_ = false;
};

}  // namespace transport
