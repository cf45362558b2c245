#include "device/operation_start.h"

#include "device/link_messages.h"

namespace device {

bool StorePortAndCheck(RegisterLink& link, const ConnectionSelection& selection,
                       MessageSink& messages) {
  if (selection.address < kInstrumentAddress || selection.address > kHighestInstrumentAddress) {
    messages.error(kBadInstrumentAddressText);
    return false;
  }
  LinkParameters& record = link.parameters();
  record.portNumber = selection.portIndex + 1;
  record.baudIndex = selection.baudIndex;
  record.address = static_cast<uint8_t>(selection.address);
  record.mode = selection.mode;
  if (link.portCheck()) return true;
  messages.error(kCannotOpenPortText);
  return false;
}

}  // namespace device
