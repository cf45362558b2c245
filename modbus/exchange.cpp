#include "modbus/exchange.h"

#include <algorithm>
#include <chrono>
#include <iterator>
#include <limits>

#include "modbus/frame_codec.h"
#include "modbus/reply_selection.h"
#include "modbus/result_codes.h"
#include "modbus/wire_time.h"

namespace modbus {

namespace {

// Tick arithmetic is signed 32-bit: differences wrap with the counter, and
// "t < t0" compares the ticks as signed values, so it turns true when the
// counter passes 2^31 (where the signed value jumps from its maximum to its minimum).
int32_t ticksBetween(uint32_t from, uint32_t to) { return static_cast<int32_t>(to - from); }

bool signedBefore(uint32_t t, uint32_t reference) {
  return static_cast<int32_t>(t) < static_cast<int32_t>(reference);
}

// The fast wait looks at the input queue once per tick millisecond.
constexpr int64_t kFastPollMs = 1;

constexpr int64_t kNever = std::numeric_limits<int64_t>::max();

// Milliseconds from `t` until "tick < reference" first holds, given that it
// does not hold at `t`: the tick must pass 2^31 for its signed value to drop.
int64_t msUntilSignedBefore(uint32_t t) {
  const uint32_t d = 0x80000000u - t;
  return d == 0 ? kNever : int64_t{d};
}

// The pump blocks at most until the loop next has to read the tick; 0 when due.
std::chrono::microseconds waitFor(TickSource& tick, int64_t ms) {
  const int64_t clamped = std::clamp<int64_t>(ms, 0, std::numeric_limits<int32_t>::max());
  return clamped == 0 ? std::chrono::microseconds(0)
                      : tick.RealDuration(static_cast<int32_t>(clamped));
}

}  // namespace

uint32_t BaudRateOfIndex(int baudIndex) {
  static constexpr uint32_t kRates[] = {2400, 4800, 9600, 19200, 38400, 57600, 115200};
  if (baudIndex < 0 || baudIndex >= static_cast<int>(std::size(kRates))) return 0;
  return kRates[baudIndex];
}

// The judged timing is that of a loop which pumps events and reads the tick
// without pause. Here the pump blocks instead, but only until the next instant
// such a loop could decide differently, so every decision is taken on the same
// tick values it would see. An event ends the block early; the loop then reads
// the tick again and goes on.
WaitOutcome WaitForReply(const LinkServices& link, const ExchangeTiming& timing) {
  TickSource& tick = link.tick;
  EventPump& pump = link.pump;

  // Response phase: nothing is looked at before the response delay has passed.
  const uint32_t t0 = tick.Tick();
  uint32_t t = t0;
  for (;;) {
    const int64_t untilDelay = int64_t{timing.responseDelay} - ticksBetween(t0, t);
    pump.ProcessEvents(waitFor(tick, std::min(untilDelay, msUntilSignedBefore(t))));
    t = tick.Tick();
    if (ticksBetween(t0, t) >= timing.responseDelay || signedBefore(t, t0)) break;
  }

  int32_t n = link.port.InBufUsed();
  if (n <= 0) return WaitOutcome::kNothingReceived;

  // Receive phase: complete once the count stood still over one check period
  // of strictly more than the exchange delay.
  const uint32_t t1 = tick.Tick();
  uint32_t last = t1;
  t = t1;
  for (;;) {
    const int64_t untilCheck = int64_t{timing.exchangeDelay} + 1 - ticksBetween(last, t);
    const int64_t untilLimit = int64_t{timing.overallLimit} - ticksBetween(t1, t);
    pump.ProcessEvents(waitFor(tick, std::min({untilCheck, untilLimit, msUntilSignedBefore(t)})));
    t = tick.Tick();
    if (ticksBetween(last, t) > timing.exchangeDelay) {
      last = t;
      if (link.port.InBufUsed() == n) return WaitOutcome::kComplete;
      n = link.port.InBufUsed();
    }
    pump.ProcessEvents(std::chrono::microseconds(0));
    // Judged on the same t as the check above: the check comes first.
    if (ticksBetween(t1, t) >= timing.overallLimit || signedBefore(t, t1)) {
      return WaitOutcome::kStillReceiving;
    }
  }
}

WaitOutcome WaitForAnsweringReply(const LinkServices& link, const ExchangeTiming& timing,
                                  const ByteString& request, ByteString& received,
                                  int32_t settleMs) {
  TickSource& tick = link.tick;
  EventPump& pump = link.pump;
  PortInterface& port = link.port;
  const auto take = [&] {
    if (port.InBufUsed() > 0) received += port.ReadString();
  };
  const auto answered = [&] {
    take();
    return !AnsweringFrame(received, request).empty();
  };
  const uint32_t t0 = tick.Tick();
  // The answer is in: what else comes within `settleMs` of quiet is kept too.
  const auto settled = [&] {
    uint32_t quietFrom = tick.Tick();
    std::size_t n = received.size();
    while (settleMs > 0) {
      pump.ProcessEvents(waitFor(tick, kFastPollMs));
      take();
      const uint32_t now = tick.Tick();
      if (received.size() != n) {
        n = received.size();
        quietFrom = now;
      }
      if (ticksBetween(quietFrom, now) > settleMs ||
          ticksBetween(t0, now) >= int64_t{timing.responseDelay} + timing.overallLimit) {
        break;
      }
    }
    return WaitOutcome::kComplete;
  };

  uint32_t t = t0;
  for (;;) {
    if (answered()) return settled();
    t = tick.Tick();
    const int64_t elapsed = ticksBetween(t0, t);
    if (elapsed >= timing.responseDelay || signedBefore(t, t0)) break;
    pump.ProcessEvents(waitFor(tick, std::min(kFastPollMs, timing.responseDelay - elapsed)));
  }
  if (received.empty()) return WaitOutcome::kNothingReceived;

  // What came is not (yet) an answer: the window's rules end the wait.
  const uint32_t t1 = t;
  uint32_t last = t1;
  std::size_t n = received.size();
  for (;;) {
    const int64_t untilCheck = int64_t{timing.exchangeDelay} + 1 - ticksBetween(last, t);
    const int64_t untilLimit = int64_t{timing.overallLimit} - ticksBetween(t1, t);
    pump.ProcessEvents(waitFor(tick, std::min({kFastPollMs, untilCheck, untilLimit})));
    if (answered()) return settled();
    t = tick.Tick();
    if (ticksBetween(last, t) > timing.exchangeDelay) {
      last = t;
      if (received.size() == n) return WaitOutcome::kComplete;
      n = received.size();
    }
    if (ticksBetween(t1, t) >= timing.overallLimit || signedBefore(t, t1)) {
      return WaitOutcome::kStillReceiving;
    }
  }
}

namespace {

// Fast mode: the limits also cover the request's and the expected reply's
// time on the wire, which at 2400 bit/s exceeds a short wait by itself.
ExchangeTiming withWireTime(const ExchangeTiming& timing, const ByteString& frame,
                            const ByteString& payload, uint32_t rate) {
  const int32_t wire = WireTimeMs(frame.size() + ExpectedReplyCharacters(payload), rate);
  return {timing.overallLimit + wire, timing.responseDelay + wire, timing.exchangeDelay};
}

}  // namespace

ExchangeResult Exchange(const LinkServices& link, uint8_t portNumber, int baudIndex,
                        const ExchangeTiming& timing, const ByteString& payload) {
  const ByteString frame = BuildFrame(payload);
  PortInterface& port = link.port;
  const bool fast = link.mode == ExchangeMode::kFast;
  const bool hold = fast && link.holdPortBetweenExchanges;
  const uint32_t rate = BaudRateOfIndex(baudIndex);
  LineRecord unrecorded;
  LineRecord& record = link.record ? *link.record : unrecorded;
  record = {payload, false, {}, {}};

  if (hold) {
    // Still open since the last answer: whatever came since is not ours.
    try {
      if (port.InBufUsed() > 0) record.waiting = port.ReadString();
    } catch (...) {
    }
  }
  try {
    port.Close();
    port.SetComNumber(portNumber);
    // An index outside the table (nothing chosen in a list) keeps the last speed.
    if (rate != 0) port.SetBaudRate(rate);
    port.Open();
  } catch (...) {
    return CodeResult(kPortOpenError);
  }

  ByteString raw;
  try {
    if (link.observer) link.observer->QueryDumpChanged(HexDump(frame));
    // A late reply to an earlier request may wait in the queue of a device
    // that was closed meanwhile; the fast wait must not take it.
    if (fast && port.InBufUsed() > 0) record.waiting += port.ReadString();
    record.written = true;
    port.WriteString(frame);
    // The port stays open: the next exchange closes it, which also drops a late reply.
    const int32_t settleMs = fast ? link.settle.ms(ExpectedReplyCharacters(payload), rate) : 0;
    const WaitOutcome outcome =
        fast ? WaitForAnsweringReply(link, withWireTime(timing, frame, payload, rate), payload, raw,
                                     settleMs)
             : WaitForReply(link, timing);
    record.received = raw;
    if (outcome != WaitOutcome::kComplete) return CodeResult(kNoAnswer);
    if (!fast) raw = port.ReadString();
    if (hold) {
      if (port.InBufUsed() > 0) raw += port.ReadString();
    } else {
      port.Close();
    }
    record.received = raw;
    if (link.observer) link.observer->AnswerDumpChanged(HexDump(raw));
  } catch (...) {
    record.received = raw;
    return CodeResult(kPortHardwareError);
  }

  const ByteString answer = fast ? AnsweringFrame(raw, payload) : ByteString();
  return DecodeReply(answer.empty() ? SelectReply(raw, payload) : answer);
}

}  // namespace modbus
