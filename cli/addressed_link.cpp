#include "cli/addressed_link.h"

#include "cli/interrupt_watch.h"
#include "modbus/reply_selection.h"
#include "modbus/requests.h"
#include "modbus/result_codes.h"

namespace cli {

namespace {

constexpr char kStartMarker = ':';

// Bytes that hold the start of a frame: another instrument's reply. A lone
// byte a transceiver sends when it switches direction is no such thing.
bool holdsAFrame(const modbus::ByteString& bytes) {
  return bytes.find(kStartMarker) != modbus::ByteString::npos;
}

}  // namespace

AddressedLink::AddressedLink(const modbus::LinkServices& services, uint8_t address)
    : services_(services), address_(address) {
  services_.record = &record_;
}

bool AddressedLink::portCheck() {
  failure_ = {};
  try {
    services_.port.Close();
    services_.port.SetComNumber(static_cast<uint16_t>(parameters_.portNumber));
    services_.port.Open();
    services_.port.Close();
    return true;
  } catch (...) {
    closePort();
    failure_.code = modbus::kPortOpenError;
    failure_.port = services_.port.LastFailure();
    return false;
  }
}

bool AddressedLink::refused() {
  if (!refuseAfterInterrupt_ || !InterruptWatch::requested()) return false;
  failure_ = {};
  failure_.cancelled = true;
  return true;
}

// The window's result stands unless the line showed another talker: a
// second frame answering the request, or, once an answer came before (the
// port held open in fast mode), a frame arriving outside the reply.
modbus::ExchangeResult AddressedLink::judged(modbus::ExchangeResult result) {
  const modbus::AnswerChoice choice = modbus::ChooseAnswer(record_.received, record_.request);
  failure_ = {};
  failure_.code = result.size() == 1 ? static_cast<uint8_t>(result[0]) : 0;
  failure_.sent = record_.written;
  failure_.received = record_.received;
  failure_.answer = choice.frame;
  failure_.port = services_.port.LastFailure();
  bool another = choice.count == modbus::AnswerChoice::kSeveral;
  if (services_.mode == modbus::ExchangeMode::kFast) {
    another = another ||
              holdsAFrame(record_.received.substr(std::min(choice.end, record_.received.size())));
    if (lastAnswered_) {
      another = another || holdsAFrame(record_.waiting) || choice.otherFrames > 0;
    }
  }
  failure_.anotherTalker = another;
  lastAnswered_ = choice.count != modbus::AnswerChoice::kNone;
  if (another) return modbus::CodeResult(modbus::kNoAnswer);
  return result;
}

modbus::ExchangeResult AddressedLink::readHoldingRegisters(int32_t start, int32_t count) {
  if (refused()) return modbus::CodeResult(modbus::kNoAnswer);
  return judged(modbus::ReadHoldingRegisters(services_, portByte(), parameters_.baudIndex,
                                             parameters_.timing, address_, start, count));
}

modbus::ExchangeResult AddressedLink::readInputRegisters(int32_t start, int32_t count) {
  if (refused()) return modbus::CodeResult(modbus::kNoAnswer);
  return judged(modbus::ReadInputRegisters(services_, portByte(), parameters_.baudIndex,
                                           parameters_.timing, address_, start, count));
}

modbus::ExchangeResult AddressedLink::writeMultipleRegisters(int32_t start, int32_t count,
                                                             const modbus::ByteString& data) {
  if (refused()) return modbus::CodeResult(modbus::kNoAnswer);
  return judged(modbus::WriteMultipleRegisters(services_, portByte(), parameters_.baudIndex,
                                               parameters_.timing, address_, start, count, data));
}

void AddressedLink::closePort() {
  try {
    services_.port.Close();
  } catch (...) {
  }
}

}  // namespace cli
