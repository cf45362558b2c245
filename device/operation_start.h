#pragma once

#include "device/message_sink.h"
#include "device/register_link.h"

namespace device {

// The connection panel as an operation takes it at its start.
struct ConnectionSelection {
  int portIndex = 0;  // ComboBoxPort position; the port number is this + 1
  int baudIndex = 0;  // ComboBoxBaudSys position
};

// Stores port number and speed index in the shared record and runs the port
// check. On failure reports "Не могу открыть порт" and returns false; nothing
// has been sent then.
bool StorePortAndCheck(RegisterLink& link, const ConnectionSelection& selection,
                       MessageSink& messages);

}  // namespace device
