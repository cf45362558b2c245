// Untrusted bytes on the line against any request, as the fast exchange and
// the command line's judgement read them: the one frame that answers, a
// refusal when more than one does, or none; never a crash.
// Input: one byte whose low nibble is the request's length and whose bit 7
// frames the rest as payloads between FFh bytes (so that several whole
// frames, answering or not, are reached), the request, then the reply.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "modbus/frame_codec.h"
#include "modbus/reply_selection.h"

namespace {

using modbus::AnswerChoice;
using modbus::ByteString;

void require(bool condition) {
  if (!condition) std::abort();
}

ByteString framed(const ByteString& payloads) {
  ByteString raw;
  std::size_t from = 0;
  while (from <= payloads.size()) {
    const std::size_t end = std::min(payloads.find('\xFF', from), payloads.size());
    raw += modbus::BuildFrame(payloads.substr(from, end - from));
    from = end + 1;
  }
  return raw;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::size_t requestLength = std::min<std::size_t>(data[0] & 0x0F, size - 1);
  const ByteString request(reinterpret_cast<const char*>(data + 1), requestLength);
  const ByteString rest(reinterpret_cast<const char*>(data + 1 + requestLength),
                        size - 1 - requestLength);
  const ByteString raw = (data[0] & 0x80) ? framed(rest) : rest;

  const AnswerChoice choice = modbus::ChooseAnswer(raw, request);
  const ByteString first = modbus::AnsweringFrame(raw, request);
  switch (choice.count) {
    case AnswerChoice::kNone:
      require(choice.frame.empty() && first.empty());
      break;
    case AnswerChoice::kOne:
    case AnswerChoice::kSeveral:
      require(choice.begin < choice.end && choice.end <= raw.size());
      require(raw.compare(choice.begin, choice.end - choice.begin, choice.frame) == 0);
      require(choice.frame.front() == ':' && choice.frame.ends_with("\r\n"));
      require(modbus::AnswersRequest(modbus::DecodeReply(choice.frame), request));
      require(first == choice.frame);
      break;
  }
  // The window's choice among several frames stays one of the raw reply's.
  const ByteString selected = modbus::SelectReply(raw, request);
  require(selected == raw || raw.find(selected) != ByteString::npos);
  return 0;
}
