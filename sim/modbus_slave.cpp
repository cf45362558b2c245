#include "sim/modbus_slave.h"

namespace sim {

namespace {

constexpr int kMaxReadBits = 2000;
constexpr int kMaxWriteBits = 1968;
constexpr int kMaxReadRegisters = 125;
constexpr int kMaxWriteRegisters = 123;
constexpr std::size_t kReadRequestSize = 6;  // address, function, start, count
constexpr std::size_t kWriteHeaderSize = 7;  // ... and the byte count

int word(const std::string& r, std::size_t at) {
  return (static_cast<uint8_t>(r[at]) << 8) | static_cast<uint8_t>(r[at + 1]);
}

std::string dataReply(const std::string& request, const std::string& data) {
  std::string reply = request.substr(0, 2);
  reply.push_back(static_cast<char>(data.size()));
  reply += data;
  return reply;
}

std::string handleRead(Instrument& instrument, const std::string& request) {
  const auto function = static_cast<uint8_t>(request[1]);
  if (request.size() != kReadRequestSize)
    return ExceptionReply(request, exception_code::kIllegalValue);
  const int start = word(request, 2);
  const int count = word(request, 4);
  const bool bits = function == 0x01 || function == 0x02;
  if (count < 1 || count > (bits ? kMaxReadBits : kMaxReadRegisters)) {
    return ExceptionReply(request, exception_code::kIllegalValue);
  }
  std::string data;
  uint8_t code = 0;
  switch (function) {
    case 0x01:
      code = instrument.readCoils(start, count, data);
      break;
    case 0x02:
      code = instrument.readDiscreteInputs(start, count, data);
      break;
    case 0x03:
      code = instrument.readHoldingRegisters(start, count, data);
      break;
    default:
      code = instrument.readInputRegisters(start, count, data);
      break;
  }
  if (code != 0) return ExceptionReply(request, code);
  return dataReply(request, data);
}

std::string handleWrite(Instrument& instrument, const std::string& request) {
  const auto function = static_cast<uint8_t>(request[1]);
  if (request.size() < kWriteHeaderSize)
    return ExceptionReply(request, exception_code::kIllegalValue);
  const int start = word(request, 2);
  const int count = word(request, 4);
  const std::size_t byteCount = static_cast<uint8_t>(request[6]);
  const bool coils = function == 0x0F;
  const int maxCount = coils ? kMaxWriteBits : kMaxWriteRegisters;
  const std::size_t expectedBytes = static_cast<std::size_t>(coils ? (count + 7) / 8 : 2 * count);
  if (count < 1 || count > maxCount || byteCount != expectedBytes ||
      request.size() != kWriteHeaderSize + byteCount) {
    return ExceptionReply(request, exception_code::kIllegalValue);
  }
  const std::string data = request.substr(kWriteHeaderSize);
  const uint8_t code = coils ? instrument.writeCoils(start, count, data)
                             : instrument.writeHoldingRegisters(start, count, data);
  if (code != 0) return ExceptionReply(request, code);
  return request.substr(0, kReadRequestSize);
}

}  // namespace

std::string ExceptionReply(const std::string& request, uint8_t code) {
  std::string reply;
  reply.push_back(request.empty() ? '\0' : request[0]);
  reply.push_back(
      static_cast<char>((request.size() > 1 ? static_cast<uint8_t>(request[1]) : 0) | 0x80));
  reply.push_back(static_cast<char>(code));
  return reply;
}

std::optional<std::string> HandleRequest(Instrument& instrument, const std::string& request) {
  if (request.size() < 2) return std::nullopt;
  const auto address = static_cast<uint8_t>(request[0]);
  if (address != 0 && address != instrument.networkAddress()) return std::nullopt;
  switch (static_cast<uint8_t>(request[1])) {
    case 0x01:
    case 0x02:
    case 0x03:
    case 0x04:
      return handleRead(instrument, request);
    case 0x0F:
    case 0x10:
      return handleWrite(instrument, request);
    default:
      return ExceptionReply(request, exception_code::kIllegalFunction);
  }
}

}  // namespace sim
