#include "device/line_scan.h"

#include <algorithm>

#include "device/operation_start.h"
#include "modbus/result_codes.h"

namespace device {

namespace {

// The record as the scan found it, put back however the scan ends.
class KeptRecord {
 public:
  explicit KeptRecord(LinkParameters& record) : record_(record), saved_(record) {}
  KeptRecord(const KeptRecord&) = delete;
  KeptRecord& operator=(const KeptRecord&) = delete;
  ~KeptRecord() { record_ = saved_; }

 private:
  LinkParameters& record_;
  LinkParameters saved_;
};

// Silent addresses are the rule in a scan: its wait is the response delay
// itself, and a fifth of it ends a reply that has stopped coming.
modbus::ExchangeTiming scanTiming(int waitMs) { return {waitMs, waitMs, std::max(1, waitMs / 5)}; }

bool portLost(const modbus::ExchangeResult& reply) {
  return reply.size() == 1 && static_cast<uint8_t>(reply[0]) == modbus::kPortOpenError;
}

}  // namespace

ScanOutcome ScanLine(RegisterLink& link, OperationControls& controls, const ScanRange& range,
                     LineScanView& view, MessageSink& messages) {
  if (link.busy()) return ScanOutcome::kNotStarted;
  controls.setButtonEnabled(false);
  const KeptRecord kept(link.parameters());
  // The scan asks addresses of its own: whatever the panel's address field
  // holds, even nothing, does not stop it.
  ConnectionSelection selection = controls.connection();
  selection.address = kInstrumentAddress;
  if (!StorePortAndCheck(link, selection, messages)) {
    controls.setButtonEnabled(true);
    return ScanOutcome::kPortError;
  }
  LinkParameters& record = link.parameters();
  record.mode = modbus::ExchangeMode::kFast;
  record.timing = scanTiming(range.waitMs);

  ScanOutcome outcome = ScanOutcome::kNoneAnswered;
  for (int address = range.first; address <= range.last; ++address) {
    if (view.cancelRequested()) {
      outcome = ScanOutcome::kCancelled;
      break;
    }
    view.trying(address);
    record.address = static_cast<uint8_t>(address);
    const modbus::ExchangeResult reply =
        link.readHoldingRegisters(kIdentificationStart, kIdentificationCount);
    const auto block = DecodeIdentificationReply(reply);
    if (portLost(reply) || view.lineFailed()) {
      outcome = ScanOutcome::kLineFailed;
      break;
    }
    if (!block) continue;
    outcome = ScanOutcome::kFound;
    view.found({address, *block, FormatIdentification(*block)});
  }
  controls.setButtonEnabled(true);
  return outcome;
}

}  // namespace device
