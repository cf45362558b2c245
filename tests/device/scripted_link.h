#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "device/busy_guard.h"
#include "device/register_link.h"
#include "event_log.h"
#include "modbus/result_codes.h"

namespace device_test {

// Register link for operation tests: logs every call with the record's
// speed and timing at that moment and answers from a script. An unscripted
// request gets "no answer". The hook runs while a request holds the link
// busy, standing for events pumped during the exchange.
class ScriptedLink : public device::RegisterLink {
 public:
  explicit ScriptedLink(EventLog& log) : log_(log) {}

  std::deque<modbus::ExchangeResult> results;
  bool portCheckPasses = true;
  std::function<void()> duringRequest;

  device::LinkParameters& parameters() override { return parameters_; }
  bool busy() const override { return guard_.busy(); }

  bool portCheck() override {
    auto hold = guard_.tryAcquire();
    if (!hold) return false;
    log_.push_back("port check COM" + std::to_string(parameters_.portNumber));
    return portCheckPasses;
  }
  modbus::ExchangeResult readHoldingRegisters(int32_t start, int32_t count) override {
    return request("read HR", start, count, {});
  }
  modbus::ExchangeResult readInputRegisters(int32_t start, int32_t count) override {
    return request("read IR", start, count, {});
  }
  modbus::ExchangeResult writeMultipleRegisters(int32_t start, int32_t count,
                                                const modbus::ByteString& data) override {
    return request("write HR", start, count, data);
  }

  // The data written by the last write request, and by every write request.
  modbus::ByteString lastWritten;
  std::vector<modbus::ByteString> written;

 private:
  modbus::ExchangeResult request(const std::string& what, int32_t start, int32_t count,
                                 const modbus::ByteString& data) {
    auto hold = guard_.tryAcquire();
    if (!hold) return modbus::ExchangeResult(1, static_cast<char>(modbus::kPortOpenError));
    const auto& t = parameters_.timing;
    log_.push_back(what + " " + std::to_string(start) + "+" + std::to_string(count) + " at " +
                   std::to_string(parameters_.baudIndex) + " " + std::to_string(t.overallLimit) +
                   "/" + std::to_string(t.responseDelay) + "/" + std::to_string(t.exchangeDelay));
    lastWritten = data;
    if (what.starts_with("write")) written.push_back(data);
    if (duringRequest) duringRequest();
    if (results.empty()) return modbus::ExchangeResult(1, static_cast<char>(modbus::kNoAnswer));
    modbus::ExchangeResult result = results.front();
    results.pop_front();
    return result;
  }

  EventLog& log_;
  device::LinkParameters parameters_;
  device::BusyGuard guard_;
};

// A successful register read reply: address 0, the function, byte count, data.
inline modbus::ExchangeResult ReadReply(const std::string& data, char function = 0x03) {
  return std::string{'\0', function, static_cast<char>(data.size())} + data;
}

// The 6-byte echo of a successful register write.
inline modbus::ExchangeResult WriteReply(int32_t start, int32_t count) {
  return std::string{'\0',
                     0x10,
                     static_cast<char>(start >> 8),
                     static_cast<char>(start),
                     static_cast<char>(count >> 8),
                     static_cast<char>(count)};
}

inline modbus::ExchangeResult ResultCode(uint8_t code) {
  return modbus::ExchangeResult(1, static_cast<char>(code));
}

}  // namespace device_test
