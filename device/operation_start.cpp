#include "device/operation_start.h"

#include "device/link_messages.h"

namespace device {

bool StorePortAndCheck(RegisterLink& link, const ConnectionSelection& selection,
                       MessageSink& messages) {
  link.parameters().portNumber = selection.portIndex + 1;
  link.parameters().baudIndex = selection.baudIndex;
  if (link.portCheck()) return true;
  messages.error(kCannotOpenPortText);
  return false;
}

}  // namespace device
