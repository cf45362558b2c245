#include "modbus/requests.h"

#include "modbus/result_codes.h"

namespace modbus {

namespace {

constexpr uint8_t kExceptionBit = 0x80;
// A write reply echoes address, function, start and count: six bytes.
constexpr std::size_t kWriteReplyLength = 6;

uint8_t byteAt(const ByteString& s, std::size_t i) { return static_cast<uint8_t>(s[i]); }

// Start and count go out as their low 16 bits, high byte first.
void appendWord(ByteString& payload, int32_t value) {
  const auto word = static_cast<uint16_t>(static_cast<uint32_t>(value));
  payload.push_back(static_cast<char>(word >> 8));
  payload.push_back(static_cast<char>(word & 0xFF));
}

ByteString header(uint8_t address, uint8_t function, int32_t start, int32_t count) {
  ByteString payload;
  payload.push_back(static_cast<char>(address));
  payload.push_back(static_cast<char>(function));
  appendWord(payload, start);
  appendWord(payload, count);
  return payload;
}

// 0 when the reply is from the addressed device and answers the function.
uint8_t headerMismatch(const ByteString& reply, uint8_t address, uint8_t function) {
  if (byteAt(reply, 0) != address) return kWrongAddress;
  if (byteAt(reply, 1) == (function | kExceptionBit)) return kExceptionReply;
  if (byteAt(reply, 1) != function) return kWrongFunction;
  return 0;
}

// 64-bit so that any count from the debug page gives a byte count that simply
// does not match instead of overflowing.
int64_t bitByteCount(int32_t count) { return int64_t{count} / 8 + (count % 8 != 0 ? 1 : 0); }
int64_t registerByteCount(int32_t count) { return 2 * int64_t{count}; }

ExchangeResult readRequest(const LinkServices& link, uint8_t portNumber, int baudIndex,
                           const ExchangeTiming& timing, uint8_t address, uint8_t function,
                           int32_t start, int32_t count, int64_t expectedByteCount) {
  ExchangeResult r =
      Exchange(link, portNumber, baudIndex, timing, header(address, function, start, count));
  // Exchange returns one code byte or a decoded reply of at least three bytes.
  if (r.size() < 3) return r;
  if (const uint8_t mismatch = headerMismatch(r, address, function)) return CodeResult(mismatch);
  if (byteAt(r, 2) != expectedByteCount) return CodeResult(kWrongByteCount);
  if (static_cast<int64_t>(r.size()) != expectedByteCount + 3) return CodeResult(kWrongLength);
  return r;
}

ExchangeResult judgedWriteReply(ExchangeResult r, uint8_t address, uint8_t function) {
  if (r.size() < 3) return r;
  if (const uint8_t mismatch = headerMismatch(r, address, function)) return CodeResult(mismatch);
  // The echoed start and count are not compared with the request.
  if (r.size() != kWriteReplyLength) return CodeResult(kWrongWriteReplyLength);
  return r;
}

ExchangeResult writeRequest(const LinkServices& link, uint8_t portNumber, int baudIndex,
                            const ExchangeTiming& timing, uint8_t address, uint8_t function,
                            int32_t start, int32_t count, const ByteString& data) {
  ByteString payload = header(address, function, start, count);
  // The caller keeps the data at 255 bytes or less; the byte count is one byte.
  payload.push_back(static_cast<char>(data.size() & 0xFF));
  payload += data;
  const ExchangeResult r =
      judgedWriteReply(Exchange(link, portNumber, baudIndex, timing, payload), address, function);
  if (link.observer)
    link.observer->WriteEnded({portNumber, address, function, start, count, data}, r);
  return r;
}

}  // namespace

ExchangeResult ReadCoils(const LinkServices& link, uint8_t portNumber, int baudIndex,
                         const ExchangeTiming& timing, uint8_t address, int32_t start,
                         int32_t count) {
  return readRequest(link, portNumber, baudIndex, timing, address, 0x01, start, count,
                     bitByteCount(count));
}

ExchangeResult ReadDiscreteInputs(const LinkServices& link, uint8_t portNumber, int baudIndex,
                                  const ExchangeTiming& timing, uint8_t address, int32_t start,
                                  int32_t count) {
  return readRequest(link, portNumber, baudIndex, timing, address, 0x02, start, count,
                     bitByteCount(count));
}

ExchangeResult ReadHoldingRegisters(const LinkServices& link, uint8_t portNumber, int baudIndex,
                                    const ExchangeTiming& timing, uint8_t address, int32_t start,
                                    int32_t count) {
  return readRequest(link, portNumber, baudIndex, timing, address, 0x03, start, count,
                     registerByteCount(count));
}

ExchangeResult ReadInputRegisters(const LinkServices& link, uint8_t portNumber, int baudIndex,
                                  const ExchangeTiming& timing, uint8_t address, int32_t start,
                                  int32_t count) {
  return readRequest(link, portNumber, baudIndex, timing, address, 0x04, start, count,
                     registerByteCount(count));
}

ExchangeResult WriteMultipleCoils(const LinkServices& link, uint8_t portNumber, int baudIndex,
                                  const ExchangeTiming& timing, uint8_t address, int32_t start,
                                  int32_t count, const ByteString& data) {
  return writeRequest(link, portNumber, baudIndex, timing, address, 0x0F, start, count, data);
}

ExchangeResult WriteMultipleRegisters(const LinkServices& link, uint8_t portNumber, int baudIndex,
                                      const ExchangeTiming& timing, uint8_t address, int32_t start,
                                      int32_t count, const ByteString& data) {
  return writeRequest(link, portNumber, baudIndex, timing, address, 0x10, start, count, data);
}

}  // namespace modbus
