#pragma once

#include <cstdint>
#include <deque>
#include <string>

#include "sim/archive_record.h"

namespace sim {

// 32-byte image of a record as the archive windows return it.
std::string EncodeArchiveRecord(const ArchiveRecord& record);

// The stored records with the read cursor of the archive windows. The cursor
// is kept as a sequence number, so records appended while a master walks the
// archive do not shift what "previous" means. At either end a window keeps
// returning the end record rather than failing.
class Archive {
 public:
  explicit Archive(int capacity) : capacity_(capacity) {}

  void append(const ArchiveRecord& record);
  void clear();
  int size() const { return static_cast<int>(records_.size()); }

  // Each moves the cursor to the record it returns; false when empty.
  bool oldest(ArchiveRecord& out);
  bool newest(ArchiveRecord& out);
  bool next(ArchiveRecord& out);
  bool previous(ArchiveRecord& out);

 private:
  bool readAt(int64_t sequence, ArchiveRecord& out);

  int capacity_;
  std::deque<ArchiveRecord> records_;
  int64_t firstSequence_ = 0;  // sequence number of records_.front()
  int64_t cursor_ = -1;        // last record read, -1 before the first read
};

}  // namespace sim
