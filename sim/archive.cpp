#include "sim/archive.h"

#include <algorithm>

#include "sim/byte_image.h"

namespace sim {

std::string EncodeArchiveRecord(const ArchiveRecord& r) {
  ByteImage image(32);
  image.setU8(0, r.time.seconds);
  image.setU8(1, r.time.minutes);
  image.setU8(2, r.time.hours);
  image.setU8(3, r.time.dayOfWeek);
  image.setU8(4, r.time.day);
  image.setU8(5, r.time.month);
  image.setU8(6, r.time.year);
  image.setF32(14, r.coldJunction);
  image.setF32(18, r.measuredValue);
  image.setF32(22, r.inputSignal);
  return image.bytes(0, 32);
}

void Archive::append(const ArchiveRecord& record) {
  records_.push_back(record);
  if (static_cast<int>(records_.size()) > capacity_) {
    records_.pop_front();
    ++firstSequence_;
  }
}

void Archive::clear() {
  firstSequence_ += static_cast<int64_t>(records_.size());
  records_.clear();
  cursor_ = -1;
}

bool Archive::readAt(int64_t sequence, ArchiveRecord& out) {
  if (records_.empty()) return false;
  const int64_t last = firstSequence_ + static_cast<int64_t>(records_.size()) - 1;
  cursor_ = std::clamp(sequence, firstSequence_, last);
  out = records_[static_cast<std::size_t>(cursor_ - firstSequence_)];
  return true;
}

bool Archive::oldest(ArchiveRecord& out) { return readAt(firstSequence_, out); }

bool Archive::newest(ArchiveRecord& out) {
  return readAt(firstSequence_ + static_cast<int64_t>(records_.size()) - 1, out);
}

// Before any read the cursor stands just past the newest record, so "previous"
// starts at the newest and "next" stays there.
bool Archive::next(ArchiveRecord& out) {
  if (cursor_ < 0) return newest(out);
  return readAt(cursor_ + 1, out);
}

bool Archive::previous(ArchiveRecord& out) {
  if (cursor_ < 0) return newest(out);
  return readAt(cursor_ - 1, out);
}

}  // namespace sim
