#include "transport/circular_buffer.h"

#include <algorithm>
#include <cstring>

namespace transport {

TAfCircularBuffer::TAfCircularBuffer(int32_t capacity)
    : storage_(static_cast<size_t>(std::max<int32_t>(capacity, 0))),
      capacity_(std::max<int32_t>(capacity, 0)) {}

int32_t TAfCircularBuffer::BufUsed() const {
  if (full_) return capacity_;
  if (writeIndex_ >= readIndex_) return writeIndex_ - readIndex_;
  return writeIndex_ + capacity_ - readIndex_;
}

int32_t TAfCircularBuffer::ContiguousUsed() const {
  if (full_) return capacity_ - readIndex_;
  if (writeIndex_ >= readIndex_) return writeIndex_ - readIndex_;
  return capacity_ - readIndex_;
}

int32_t TAfCircularBuffer::advance(int32_t index, int32_t by) const {
  return index + by < capacity_ ? index + by : index + by - capacity_;
}

bool TAfCircularBuffer::Write(const char* data, int32_t count) {
  if (count < 1 || BufFree() < count) return false;
  if (writeIndex_ < readIndex_) {
    std::memcpy(storage_.data() + writeIndex_, data, static_cast<size_t>(count));
  } else {
    const int32_t tail = std::min(count, capacity_ - writeIndex_);
    std::memcpy(storage_.data() + writeIndex_, data, static_cast<size_t>(tail));
    if (count > tail) std::memcpy(storage_.data(), data + tail, static_cast<size_t>(count - tail));
  }
  writeIndex_ = advance(writeIndex_, count);
  full_ = readIndex_ == writeIndex_;
  return true;
}

bool TAfCircularBuffer::Remove(int32_t count) {
  if (count < 0 || BufUsed() < count) return false;
  readIndex_ = advance(readIndex_, count);
  if (count > 0) full_ = false;
  return true;
}

void TAfCircularBuffer::Clear() {
  readIndex_ = 0;
  writeIndex_ = 0;
  full_ = false;
}

}  // namespace transport
