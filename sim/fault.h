#pragma once

namespace sim {

// One switch per kind of misbehaviour of the instrument on the line.
enum class Fault {
  kNone,
  kSilent,         // reads every request, answers none
  kBadLrc,         // the reply's check byte is off by one
  kWrongAddress,   // the reply carries another address than the request
  kExceptionAll,   // every request gets exception 04h (slave device failure)
  kSplitReply,     // the reply goes out in two parts with a pause between them
  kEndlessStream,  // after a request, characters keep coming without a pause
  kLowerCaseHex,   // hex digits of the reply in lower case
  kExtraDelay,     // the reply comes this much later than the turnaround
};

}  // namespace sim
