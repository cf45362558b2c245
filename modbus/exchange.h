#pragma once

#include <cstdint>

#include "modbus/byte_string.h"
#include "modbus/exchange_observer.h"
#include "modbus/platform_services.h"
#include "modbus/port_interface.h"

namespace modbus {

// Everything an exchange reaches outside itself.
struct LinkServices {
  PortInterface& port;
  TickSource& tick;
  EventPump& pump;
  ExchangeObserver* observer = nullptr;
};

// Timing of one exchange, milliseconds, in the order every request passes them.
struct ExchangeTiming {
  int32_t overallLimit;
  int32_t responseDelay;
  int32_t exchangeDelay;
};

enum class WaitOutcome { kComplete, kNothingReceived, kStillReceiving };

// Waits for a reply after the request was written (see exchange.cpp for the rules).
WaitOutcome WaitForReply(const LinkServices& link, const ExchangeTiming& timing);

// Frames the payload, runs one request/reply on the port and returns the decoded
// reply or a result code 01h..09h. Never throws.
ExchangeResult Exchange(const LinkServices& link, uint8_t portNumber, int baudIndex,
                        const ExchangeTiming& timing, const ByteString& payload);

// BaudIndex 0..6 -> 2400..115200 bit/s; 0 for an index outside the table.
uint32_t BaudRateOfIndex(int baudIndex);

}  // namespace modbus
