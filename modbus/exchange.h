#pragma once

#include <cstdint>

#include "modbus/byte_string.h"
#include "modbus/exchange_observer.h"
#include "modbus/platform_services.h"
#include "modbus/port_interface.h"

namespace modbus {

// How an exchange decides that the reply is complete.
enum class ExchangeMode {
  // The window's timing: the first look after the response delay, then
  // silence over one exchange delay.
  kWindowTiming,
  // As soon as a whole frame with a valid LRC that answers the request is
  // in; otherwise as with the window's timing.
  kFast,
};

// Everything an exchange reaches outside itself.
struct LinkServices {
  PortInterface& port;
  TickSource& tick;
  EventPump& pump;
  ExchangeObserver* observer = nullptr;
  ExchangeMode mode = ExchangeMode::kWindowTiming;
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

// The fast mode's wait: reads as the bytes come, into `received`, and ends
// once they hold a frame answering `request`, or by the window's rules.
WaitOutcome WaitForAnsweringReply(const LinkServices& link, const ExchangeTiming& timing,
                                  const ByteString& request, ByteString& received);

// Frames the payload, runs one request/reply on the port and returns the decoded
// reply or a result code 01h..09h. When more than one frame came, the one that
// answers the request is decoded (a late reply to an earlier request is
// dropped). Never throws.
ExchangeResult Exchange(const LinkServices& link, uint8_t portNumber, int baudIndex,
                        const ExchangeTiming& timing, const ByteString& payload);

// BaudIndex 0..6 -> 2400..115200 bit/s; 0 for an index outside the table.
uint32_t BaudRateOfIndex(int baudIndex);

}  // namespace modbus
