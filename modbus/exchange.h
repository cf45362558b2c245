#pragma once

#include <cstdint>

#include "modbus/byte_string.h"
#include "modbus/exchange_observer.h"
#include "modbus/platform_services.h"
#include "modbus/port_interface.h"
#include "modbus/wire_time.h"

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

// What one exchange saw on the line besides its result, for a caller that
// judges more than the window does (the command line: a second instrument
// answering, a byte ahead of the frame, an exception's code). The result is
// the same with or without a record.
struct LineRecord {
  ByteString request;    // the payload
  bool written = false;  // the frame was handed to the port: a write may have taken effect
  ByteString received;   // every byte read after the request, as it came
  // Bytes that were waiting before the request went out; with
  // `holdPortBetweenExchanges`, those that came after the last answer.
  ByteString waiting;
};

// Everything an exchange reaches outside itself.
struct LinkServices {
  PortInterface& port;
  TickSource& tick;
  EventPump& pump;
  ExchangeObserver* observer = nullptr;
  ExchangeMode mode = ExchangeMode::kWindowTiming;
  // Fast mode only. The port stays open after an answer, so that bytes
  // arriving after it are read before the next request goes out (into the
  // next record's `waiting`); the next exchange closes it as always.
  bool holdPortBetweenExchanges = false;
  // Fast mode only: after the answer, the line must stay quiet this long
  // before the exchange ends, so that a second instrument answering right
  // behind the first is heard.
  QuietTime settle{};
  LineRecord* record = nullptr;
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
// once they hold a frame answering `request` (followed by `settleMs` of
// quiet), or by the window's rules.
WaitOutcome WaitForAnsweringReply(const LinkServices& link, const ExchangeTiming& timing,
                                  const ByteString& request, ByteString& received,
                                  int32_t settleMs = 0);

// Frames the payload, runs one request/reply on the port and returns the decoded
// reply or a result code 01h..09h. When more than one frame came, the one that
// answers the request is decoded (a late reply to an earlier request is
// dropped). In fast mode every limit is longer by the time the request and
// the expected reply take on the wire at the speed in use. Never throws.
ExchangeResult Exchange(const LinkServices& link, uint8_t portNumber, int baudIndex,
                        const ExchangeTiming& timing, const ByteString& payload);

// BaudIndex 0..6 -> 2400..115200 bit/s; 0 for an index outside the table.
uint32_t BaudRateOfIndex(int baudIndex);

}  // namespace modbus
