#include "device/discovery.h"

#include <optional>

#include "device/link_messages.h"
#include "device/operation_start.h"
#include "device/scoped_timing.h"

namespace device {

namespace {

constexpr int kLowestBaudIndex = 0;
constexpr int kHighestBaudIndex = 6;

std::optional<IdentificationTexts> readIdentification(RegisterLink& link) {
  const auto block = DecodeIdentificationReply(
      link.readHoldingRegisters(kIdentificationStart, kIdentificationCount));
  if (!block) return std::nullopt;
  return FormatIdentification(*block);
}

DiscoveryOutcome singleRead(RegisterLink& link, DiscoveryView& view, MessageSink& messages) {
  if (const auto texts = readIdentification(link)) {
    view.showIdentification(*texts);
    return DiscoveryOutcome::kShown;
  }
  messages.error(kNoConnectionText);
  return DiscoveryOutcome::kNoConnection;
}

DiscoveryOutcome speedSearch(RegisterLink& link, DiscoveryView& view, MessageSink& messages) {
  for (int index = kLowestBaudIndex; index <= kHighestBaudIndex; ++index) {
    if (view.cancelRequested()) return DiscoveryOutcome::kCancelled;
    link.parameters().baudIndex = index;
    const auto texts = readIdentification(link);
    // Selected after every attempt, so the list visibly steps while the next
    // exchange pumps events.
    view.selectBaudIndex(index);
    if (texts) {
      view.showIdentification(*texts);
      view.setFindButtonEnabled(true);
      messages.confirmation(kInstrumentFoundText);
      return DiscoveryOutcome::kFound;
    }
  }
  messages.error(kInstrumentNotFoundText);
  return DiscoveryOutcome::kNotFound;
}

}  // namespace

DiscoveryOutcome RunDiscovery(RegisterLink& link, DiscoveryView& view, MessageSink& messages) {
  if (link.busy()) return DiscoveryOutcome::kNotStarted;

  view.stopMeasurementTimer();
  view.setFindButtonEnabled(false);
  const ScopedTiming timing(link.parameters(), kStandardTiming);
  if (!StorePortAndCheck(link, view.connection(), messages)) {
    view.setFindButtonEnabled(true);
    return DiscoveryOutcome::kPortError;
  }

  if (view.autoFindChecked()) {
    // A found instrument has the button enabled before its confirmation.
    const DiscoveryOutcome outcome = speedSearch(link, view, messages);
    if (outcome != DiscoveryOutcome::kFound) view.setFindButtonEnabled(true);
    return outcome;
  }
  const DiscoveryOutcome outcome = singleRead(link, view, messages);
  view.setFindButtonEnabled(true);
  return outcome;
}

}  // namespace device
