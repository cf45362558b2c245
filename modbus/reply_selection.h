#pragma once

#include <cstddef>

#include "modbus/byte_string.h"

namespace modbus {

// True when a decoded reply (address, function, data) answers the request
// payload: the same address, the function or its exception code, and the
// byte count of a read or the echoed start and count of a write.
bool AnswersRequest(const ByteString& decoded, const ByteString& request);

// The frame of `raw` that answers the request when the raw reply holds more
// than one frame (a late reply to an earlier request ahead of it): the last
// such frame. Otherwise `raw` itself, so a single reply is judged as it came.
ByteString SelectReply(const ByteString& raw, const ByteString& request);

// The first complete frame (":" up to CR LF) of `raw` that has a valid LRC
// and answers the request; empty when there is none yet.
ByteString AnsweringFrame(const ByteString& raw, const ByteString& request);

// What a raw reply holds for one request, for a caller that refuses to
// guess: the one frame that answers it, or a refusal when more than one does
// (two instruments answered), or none.
struct AnswerChoice {
  enum Count { kNone, kOne, kSeveral };
  Count count = kNone;
  ByteString frame;       // the answering frame; the first of them when several
  std::size_t begin = 0;  // where it lies in the raw reply: [begin, end)
  std::size_t end = 0;
  std::size_t otherFrames = 0;  // whole frames with a valid LRC that answer nothing
};
AnswerChoice ChooseAnswer(const ByteString& raw, const ByteString& request);

}  // namespace modbus
