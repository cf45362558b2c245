#include "modbus/reply_selection.h"

#include <vector>

#include "modbus/frame_codec.h"

namespace modbus {

namespace {

constexpr char kStartMarker = ':';
constexpr uint8_t kExceptionBit = 0x80;
constexpr std::size_t kReadRequestLength = 6;  // address, function, start, count
constexpr std::size_t kWriteEchoLength = 6;

uint8_t byteAt(const ByteString& s, std::size_t i) { return static_cast<uint8_t>(s[i]); }

struct Span {
  std::size_t begin;
  std::size_t end;
};

// The frames of a raw reply: each from a ':' up to and including the next
// CR LF. Bytes outside them (noise, a frame cut short) are left out.
std::vector<Span> frameSpansOf(const ByteString& raw) {
  std::vector<Span> frames;
  std::size_t at = raw.find(kStartMarker);
  while (at != ByteString::npos) {
    const std::size_t end = raw.find("\r\n", at);
    if (end == ByteString::npos) break;
    // A ':' inside marks the start of a later frame; what came before it was cut short.
    const std::size_t restart = raw.rfind(kStartMarker, end);
    frames.push_back({restart, end + 2});
    at = raw.find(kStartMarker, end + 2);
  }
  return frames;
}

std::vector<ByteString> framesOf(const ByteString& raw) {
  std::vector<ByteString> frames;
  for (const Span& span : frameSpansOf(raw)) {
    frames.push_back(raw.substr(span.begin, span.end - span.begin));
  }
  return frames;
}

}  // namespace

bool AnswersRequest(const ByteString& decoded, const ByteString& request) {
  if (decoded.size() < 3 || request.size() < 2) return false;
  if (decoded[0] != request[0]) return false;
  const uint8_t function = byteAt(request, 1);
  if (byteAt(decoded, 1) == (function | kExceptionBit)) return true;
  if (byteAt(decoded, 1) != function) return false;
  if (request.size() < kReadRequestLength) return true;
  const uint32_t count = (uint32_t{byteAt(request, 4)} << 8) | byteAt(request, 5);
  switch (function) {
    case 0x01:
    case 0x02:
      return byteAt(decoded, 2) == ((count + 7) / 8 & 0xFF) &&
             decoded.size() == 3u + byteAt(decoded, 2);
    case 0x03:
    case 0x04:
      return byteAt(decoded, 2) == (2 * count & 0xFF) && decoded.size() == 3u + byteAt(decoded, 2);
    case 0x0F:
    case 0x10:
      return decoded.size() == kWriteEchoLength && decoded.compare(2, 4, request, 2, 4) == 0;
    default:
      return true;
  }
}

ByteString SelectReply(const ByteString& raw, const ByteString& request) {
  const std::vector<ByteString> frames = framesOf(raw);
  if (frames.size() < 2) return raw;
  for (auto frame = frames.rbegin(); frame != frames.rend(); ++frame) {
    if (AnswersRequest(DecodeReply(*frame), request)) return *frame;
  }
  return raw;
}

AnswerChoice ChooseAnswer(const ByteString& raw, const ByteString& request) {
  AnswerChoice choice;
  for (const Span& span : frameSpansOf(raw)) {
    ByteString frame = raw.substr(span.begin, span.end - span.begin);
    const ExchangeResult decoded = DecodeReply(frame);
    if (!AnswersRequest(decoded, request)) {
      if (decoded.size() > 1) ++choice.otherFrames;
      continue;
    }
    if (choice.count != AnswerChoice::kNone) {
      choice.count = AnswerChoice::kSeveral;
      continue;
    }
    choice = {AnswerChoice::kOne, std::move(frame), span.begin, span.end, choice.otherFrames};
  }
  return choice;
}

ByteString AnsweringFrame(const ByteString& raw, const ByteString& request) {
  for (const ByteString& frame : framesOf(raw)) {
    if (AnswersRequest(DecodeReply(frame), request)) return frame;
  }
  return {};
}

}  // namespace modbus
