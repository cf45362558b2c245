#include "device/archive_read.h"

#include "device/data_image.h"
#include "device/link_messages.h"
#include "device/number_parsing.h"
#include "device/scoped_timing.h"

namespace device {

namespace {

// Shows the record of one request in `row`; false when the request failed.
bool readInto(RegisterLink& link, int32_t start, int row, ArchiveView& view,
              std::string_view separator) {
  const auto image = DataImage::fromReadReply(link.readHoldingRegisters(start, kArchiveRecordCount),
                                              kArchiveRecordCount);
  const auto record = image ? DecodeArchiveRecord(*image) : std::nullopt;
  if (!record) return false;
  view.showRecord(row, FormatArchiveRecord(*record, separator));
  return true;
}

}  // namespace

OperationOutcome ReadArchive(RegisterLink& link, OperationControls& controls, ArchiveView& view,
                             MessageSink& messages, std::string_view decimalSeparator) {
  if (link.busy()) return OperationOutcome::kNotStarted;
  controls.setButtonEnabled(false);
  view.resetCancel();
  // No row ever shows a record of an earlier read.
  view.setRecordRows(1);
  view.clearRecordRow(1);

  const std::string countText = view.recordCountText();
  const auto count = ParseInteger(countText);
  if (count && (*count < 1 || *count > kMaxArchiveRecords)) {
    messages.error(kBadRecordCountText);
    controls.setButtonEnabled(true);
    return OperationOutcome::kRefused;
  }

  // Only for the archive's own requests: a poll with this set would outlast
  // its 2 s period and read each reply about 3 s after it came.
  const ScopedTiming timing(link.parameters(), kArchiveTiming);
  if (!StorePortAndCheck(link, controls.connection(), messages)) {
    controls.setButtonEnabled(true);
    return OperationOutcome::kPortError;
  }

  bool failed = !readInto(link, kArchiveNewestStart, 1, view, decimalSeparator);
  if (!count) {
    // A count that is not a number is noticed only after the first record.
    messages.error(IntegerConversionErrorText(countText));
    controls.setButtonEnabled(true);
    return OperationOutcome::kRefused;
  }
  view.setRecordRows(*count);
  for (int row = 2; row <= *count && !failed; ++row) {
    if (view.cancelRequested()) break;
    failed = !readInto(link, kArchivePreviousStart, row, view, decimalSeparator);
  }

  OperationOutcome outcome = OperationOutcome::kDone;
  if (failed) {
    messages.error(kNoConnectionText);
    outcome = OperationOutcome::kNoConnection;
  } else {
    messages.confirmation(kArchiveReadText);
  }
  controls.setButtonEnabled(true);
  return outcome;
}

}  // namespace device
