#pragma once

#include "modbus/byte_string.h"

namespace modbus {

// True when a decoded reply (address, function, data) answers the request
// payload: the same address, the function or its exception code, and for
// the reads and writes of Part 1.3 the byte count or the echoed start and
// count of that request.
bool AnswersRequest(const ByteString& decoded, const ByteString& request);

// The frame of `raw` that answers the request when the raw reply holds more
// than one frame (a late reply to an earlier request ahead of it): the last
// such frame. Otherwise `raw` itself, so a single reply is judged as it came.
ByteString SelectReply(const ByteString& raw, const ByteString& request);

// The first complete frame (":" up to CR LF) of `raw` that has a valid LRC
// and answers the request; empty when there is none yet.
ByteString AnsweringFrame(const ByteString& raw, const ByteString& request);

}  // namespace modbus
