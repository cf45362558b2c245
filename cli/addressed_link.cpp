#include "cli/addressed_link.h"

#include "cli/interrupt_watch.h"
#include "device/record_requests.h"
#include "modbus/frame_codec.h"
#include "modbus/reply_selection.h"
#include "modbus/result_codes.h"

namespace cli {

namespace {

constexpr char kStartMarker = ':';

// Bytes that hold the start of a frame: another instrument's reply. A lone
// byte a transceiver sends when it switches direction is no such thing.
bool holdsAFrame(const modbus::ByteString& bytes) {
  return bytes.find(kStartMarker) != modbus::ByteString::npos;
}

// Passes the dumps on and keeps a write's end back: its result is judged
// first (a second talker turns an echo into a failure), and that is what the
// log of writes must hear.
class WriteEndHeldBack final : public modbus::ExchangeObserver {
 public:
  explicit WriteEndHeldBack(modbus::ExchangeObserver* next) : next_(next) {}
  void QueryDumpChanged(const modbus::ByteString& hexDump) override {
    if (next_) next_->QueryDumpChanged(hexDump);
  }
  void AnswerDumpChanged(const modbus::ByteString& hexDump) override {
    if (next_) next_->AnswerDumpChanged(hexDump);
  }
  void WriteEnded(const modbus::WriteRequest& request, const modbus::ExchangeResult&) override {
    request_ = request;
  }
  const modbus::WriteRequest& request() const { return request_; }

 private:
  modbus::ExchangeObserver* next_;
  modbus::WriteRequest request_;
};

}  // namespace

AddressedLink::AddressedLink(const modbus::LinkServices& services, uint8_t address)
    : services_(services) {
  services_.record = &record_;
  parameters_.address = address;
  parameters_.mode = services.mode;
}

bool AddressedLink::portCheck() {
  // The check closes a port held open since the last answer: what a second
  // instrument sends behind it is heard first.
  if (fast() && !lastAnswer_.empty()) {
    const size_t characters = 1 + 2 * (lastAnswer_.size() + 1) + 2;
    listen(kSecondTalkerQuiet.ms(characters, modbus::BaudRateOfIndex(parameters_.baudIndex)));
  }
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

void AddressedLink::listen(int32_t quietMs) {
  const uint32_t from = services_.tick.Tick();
  do {
    services_.pump.ProcessEvents(services_.tick.RealDuration(1));
    try {
      if (services_.port.InBufUsed() > 0) stray_ += services_.port.ReadString();
    } catch (...) {
      return;  // the request that follows meets the port's failure
    }
  } while (static_cast<int32_t>(services_.tick.Tick() - from) <= quietMs);
}

// Fast mode: a second instrument's reply to the last request, coming behind
// the answer, would pass for the answer to this one when it has the same
// form (a read of as many registers). Such a request waits until the line
// has been quiet a while, so that such a reply lands before it is sent and
// is seen (the port is held open).
void AddressedLink::quietBefore(uint8_t function, int32_t start, int32_t count) {
  if (!fast() || lastAnswer_.empty()) return;
  const modbus::ByteString request = {
      static_cast<char>(parameters_.address), static_cast<char>(function),
      static_cast<char>(start >> 8 & 0xFF),   static_cast<char>(start & 0xFF),
      static_cast<char>(count >> 8 & 0xFF),   static_cast<char>(count & 0xFF)};
  if (!modbus::AnswersRequest(lastAnswer_, request)) return;
  listen(kSecondTalkerQuiet.ms(modbus::ExpectedReplyCharacters(request),
                               modbus::BaudRateOfIndex(parameters_.baudIndex)));
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
  if (fast()) {
    another = another ||
              holdsAFrame(record_.received.substr(std::min(choice.end, record_.received.size())));
    if (!lastAnswer_.empty()) {
      another = another || holdsAFrame(stray_ + record_.waiting) || choice.otherFrames > 0;
    }
  }
  stray_.clear();
  failure_.anotherTalker = another;
  lastAnswer_ = choice.count == modbus::AnswerChoice::kOne ? modbus::DecodeReply(choice.frame)
                                                           : modbus::ExchangeResult();
  if (another) return modbus::CodeResult(modbus::kNoAnswer);
  return result;
}

modbus::ExchangeResult AddressedLink::readHoldingRegisters(int32_t start, int32_t count) {
  if (refused()) return modbus::CodeResult(modbus::kNoAnswer);
  quietBefore(0x03, start, count);
  return judged(device::RequestHoldingRegisters(services_, parameters_, start, count));
}

modbus::ExchangeResult AddressedLink::readInputRegisters(int32_t start, int32_t count) {
  if (refused()) return modbus::CodeResult(modbus::kNoAnswer);
  quietBefore(0x04, start, count);
  return judged(device::RequestInputRegisters(services_, parameters_, start, count));
}

modbus::ExchangeResult AddressedLink::writeMultipleRegisters(int32_t start, int32_t count,
                                                             const modbus::ByteString& data) {
  if (refused()) return modbus::CodeResult(modbus::kNoAnswer);
  quietBefore(0x10, start, count);
  WriteEndHeldBack heldBack(services_.observer);
  modbus::LinkServices services = services_;
  services.observer = &heldBack;
  const modbus::ExchangeResult result =
      judged(device::RequestRegisterWrite(services, parameters_, start, count, data));
  if (services_.observer) services_.observer->WriteEnded(heldBack.request(), result);
  return result;
}

void AddressedLink::closePort() {
  try {
    services_.port.Close();
  } catch (...) {
  }
}

}  // namespace cli
