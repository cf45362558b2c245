#include "modbus/frame_codec.h"

#include "modbus/result_codes.h"

namespace modbus {

namespace {

constexpr char kStartMarker = ':';
constexpr char kCr = '\x0D';
constexpr char kLf = '\x0A';
// ':' + address, function, one data byte and LRC as hex digits + CR LF.
constexpr std::size_t kMinReplyLength = 11;
constexpr char kHexDigits[] = "0123456789ABCDEF";

void appendHexByte(ByteString& out, uint8_t byte) {
  out.push_back(kHexDigits[byte >> 4]);
  out.push_back(kHexDigits[byte & 0x0F]);
}

}  // namespace

uint8_t HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return static_cast<uint8_t>(c - '0');
  if (c >= 'A' && c <= 'F') return static_cast<uint8_t>(c - 'A' + 10);
  // Lower case and any other character are not rejected: they keep their own
  // code, so a reply written that way normally fails the LRC check.
  return static_cast<uint8_t>(c);
}

ByteString BuildFrame(const ByteString& payload) {
  ByteString frame;
  frame.reserve(2 * payload.size() + 5);
  frame.push_back(kStartMarker);
  uint8_t sum = 0;
  for (char c : payload) {
    const auto byte = static_cast<uint8_t>(c);
    sum = static_cast<uint8_t>(sum + byte);
    appendHexByte(frame, byte);
  }
  appendHexByte(frame, static_cast<uint8_t>(0u - sum));
  frame.push_back(kCr);
  frame.push_back(kLf);
  return frame;
}

ExchangeResult DecodeReply(const ByteString& raw) {
  if (raw.empty() || raw.front() != kStartMarker) return CodeResult(kNoStartMarker);
  if (raw.size() < kMinReplyLength) return CodeResult(kTooShort);
  if (raw.back() != kLf) return CodeResult(kNoLf);
  if (raw[raw.size() - 2] != kCr) return CodeResult(kNoCr);
  const std::size_t digitCount = raw.size() - 3;
  if (digitCount % 2 != 0) return CodeResult(kOddDigitCount);

  ByteString bytes;
  bytes.reserve(digitCount / 2);
  uint8_t sum = 0;
  for (std::size_t k = 0; k < digitCount / 2; ++k) {
    const std::size_t high = 1 + 2 * k;
    const auto byte =
        static_cast<uint8_t>(16u * HexDigitValue(raw[high]) + HexDigitValue(raw[high + 1]));
    sum = static_cast<uint8_t>(sum + byte);
    bytes.push_back(static_cast<char>(byte));
  }
  if (sum != 0) return CodeResult(kLrcError);
  bytes.pop_back();  // the LRC
  return bytes;
}

ByteString HexDump(const ByteString& bytes) {
  ByteString text;
  text.reserve(3 * bytes.size());
  for (char c : bytes) {
    appendHexByte(text, static_cast<uint8_t>(c));
    text.push_back(' ');
  }
  return text;
}

}  // namespace modbus
