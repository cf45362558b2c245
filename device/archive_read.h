#pragma once

#include <string>
#include <string_view>

#include "device/archive_record.h"
#include "device/message_sink.h"
#include "device/operation_controls.h"
#include "device/register_link.h"

namespace device {

inline constexpr const char* kArchiveReadText = "Архив считан";
inline constexpr const char* kBadRecordCountText = "Неверное количество записей";
// More rows than any archive of the instrument holds would only stall the grid.
inline constexpr int kMaxArchiveRecords = 65535;

// The page "Архивы": the count field, the cancel flag and the grid (row 0 the
// header, row k record k, newest first).
class ArchiveView {
 public:
  virtual ~ArchiveView() = default;
  virtual std::string recordCountText() const = 0;  // EditColZap
  virtual bool cancelRequested() const = 0;         // set by "Отменить"
  virtual void resetCancel() = 0;
  // The grid with `records` record rows below the header; rows kept keep
  // their texts, new rows are empty.
  virtual void setRecordRows(int records) = 0;
  virtual void clearRecordRow(int row) = 0;
  virtual void showRecord(int row, const ArchiveRowTexts& texts) = 0;
};

// "Читать": the newest record, then the ones before it, newest first, with
// the archive timing set, which the shared record holds only meanwhile (the
// poll keeps its own set); the measurement poll is not stopped. A cancel is honoured between
// records. The button of `controls` is "Читать"; the measurement timer is left alone.
OperationOutcome ReadArchive(RegisterLink& link, OperationControls& controls, ArchiveView& view,
                             MessageSink& messages, std::string_view decimalSeparator);

}  // namespace device
