#pragma once

#include "device/message_sink.h"
#include "device/register_link.h"

namespace device {

// The connection panel as an operation takes it at its start.
struct ConnectionSelection {
  int portIndex = 0;  // ComboBoxPort position; the port number is this + 1
  int baudIndex = 0;  // ComboBoxBaudSys position
  // EditAdres: 0..247; anything else (a field left empty) is refused.
  int address = kInstrumentAddress;
  modbus::ExchangeMode mode = modbus::ExchangeMode::kWindowTiming;  // CheckBoxFastExchange
};

// Stores the selection in the shared record and runs the port check. On
// failure reports "Не могу открыть порт" and returns false; nothing has been
// sent then. An address outside 0..247 is reported as such before anything
// is stored or opened.
bool StorePortAndCheck(RegisterLink& link, const ConnectionSelection& selection,
                       MessageSink& messages);

}  // namespace device
