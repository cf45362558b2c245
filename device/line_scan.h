#pragma once

#include "device/identification_block.h"
#include "device/link_parameters.h"
#include "device/message_sink.h"
#include "device/operation_controls.h"
#include "device/register_link.h"

namespace device {

// Addresses 1..247 each pick out one unit; 0 is answered by any and is not asked.
inline constexpr int kLowestUnitAddress = 1;
// The wait for an address that does not answer. The scan always uses the
// fast exchange, which ends at an answer at once and lengthens the wait by
// the request's and the reply's time on the wire (at 2400 bit/s that alone
// is about 220 ms).
inline constexpr int kScanWaitMs = 100;

struct ScanRange {
  int first = kLowestUnitAddress;
  int last = kHighestInstrumentAddress;
  int waitMs = kScanWaitMs;
};

// A unit that answered its address with its identification block.
struct ScannedUnit {
  int address = 0;
  IdentificationBlock block;
  IdentificationTexts texts;
};

// What the scan needs of its front end besides the operation's controls.
class LineScanView {
 public:
  virtual ~LineScanView() = default;
  // Just before the request to `address` goes out.
  virtual void trying(int address) = 0;
  virtual void found(const ScannedUnit& unit) = 0;
  // Seen before each address: the request under way finishes, no further
  // one is made.
  virtual bool cancelRequested() const = 0;
  // Seen after each request: true when what the line did makes the rest of
  // the scan worthless (a second instrument answering, a port gone).
  virtual bool lineFailed() const { return false; }
};

enum class ScanOutcome {
  kNotStarted,    // another exchange was under way: nothing done
  kPortError,     // the port check failed (or the address was refused), nothing sent
  kFound,         // every address asked, at least one answered
  kNoneAnswered,  // every address asked, none answered
  kCancelled,     // stopped before the last address
  kLineFailed,    // the port could not be opened again, or the view saw the line fail
};

// Asks each address of the range for its identification block, at the
// panel's port and speed, in the fast exchange with `range.waitMs` per
// address, and reports each unit as it answers. Holds the link as any
// operation: its own button is disabled meanwhile; the measurement timer
// keeps running, its polls held back by the busy link. The shared record is
// as before the scan afterwards, so a poll resumes with its own address and
// timing. Messages only for a port that cannot be opened; the outcome says
// the rest.
ScanOutcome ScanLine(RegisterLink& link, OperationControls& controls, const ScanRange& range,
                     LineScanView& view, MessageSink& messages);

}  // namespace device
