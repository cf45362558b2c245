#include "device/device_link.h"

#include "device/record_requests.h"

namespace device {

// Declared before a hold, so that it runs after the hold has released the link.
class DeviceLink::DeferredClose {
 public:
  explicit DeferredClose(DeviceLink& link) : link_(link) {}
  DeferredClose(const DeferredClose&) = delete;
  DeferredClose& operator=(const DeferredClose&) = delete;
  ~DeferredClose() {
    if ((link_.closePending_ || link_.shutDown_) && !link_.guard_.busy()) link_.closeNow();
  }

 private:
  DeviceLink& link_;
};

DeviceLink::DeviceLink(const modbus::LinkServices& services)
    : port_(services.port),
      services_{port_, services.tick, services.pump, services.observer, services.mode} {}

void DeviceLink::tell(const LinkOutcome& outcome) const {
  if (listener_) listener_(outcome);
}

LinkOutcome DeviceLink::outcomeOf(const modbus::ExchangeResult& result) const {
  using Kind = LinkOutcome::Kind;
  if (result.size() != 1) return {};
  switch (static_cast<uint8_t>(result[0])) {
    case modbus::kPortOpenError:
    case modbus::kPortHardwareError:
      return {Kind::kPortFailed, port_.LastFailure(), 0};
    case modbus::kNoAnswer:
      return {Kind::kNoReply, {}, 0};
    case modbus::kExceptionReply:
      return {Kind::kExceptionReply, {}, port_.exceptionCode()};
    default:
      return {Kind::kBadReply, {}, 0};
  }
}

bool DeviceLink::portCheck() {
  if (refusing()) return false;
  const DeferredClose deferred(*this);
  auto hold = guard_.tryAcquire();
  if (!hold) return false;
  try {
    services_.port.Close();
    services_.port.SetComNumber(static_cast<uint16_t>(parameters_.portNumber));
    services_.port.Open();
    services_.port.Close();
  } catch (...) {
    // Read before the close below, which may reset what the port knows.
    const modbus::PortFailure failure = port_.LastFailure();
    // Leave the port closed whatever step failed; the next exchange opens it anew.
    try {
      services_.port.Close();
    } catch (...) {
    }
    tell({LinkOutcome::Kind::kPortFailed, failure, 0});
    return false;
  }
  tell({});
  return true;
}

modbus::ExchangeResult DeviceLink::request(const std::function<modbus::ExchangeResult()>& send) {
  if (refusing()) return modbus::ExchangeResult(1, static_cast<char>(kBusyResult));
  const DeferredClose deferred(*this);
  modbus::ExchangeResult result;
  {
    auto hold = guard_.tryAcquire();
    if (!hold) return modbus::ExchangeResult(1, static_cast<char>(kBusyResult));
    result = send();
  }
  // Told once the link is free again: a listener may look at it.
  tell(outcomeOf(result));
  return result;
}

modbus::ExchangeResult DeviceLink::readHoldingRegisters(int32_t start, int32_t count) {
  return request([&] { return RequestHoldingRegisters(services_, parameters_, start, count); });
}

modbus::ExchangeResult DeviceLink::readInputRegisters(int32_t start, int32_t count) {
  return request([&] { return RequestInputRegisters(services_, parameters_, start, count); });
}

modbus::ExchangeResult DeviceLink::writeMultipleRegisters(int32_t start, int32_t count,
                                                          const modbus::ByteString& data) {
  return request([&] { return RequestRegisterWrite(services_, parameters_, start, count, data); });
}

bool DeviceLink::runExclusive(const std::function<void(const modbus::LinkServices&)>& work) {
  if (refusing()) return false;
  const DeferredClose deferred(*this);
  auto hold = guard_.tryAcquire();
  if (!hold) return false;
  work(services_);
  return true;
}

bool DeviceLink::closePort() {
  if (guard_.busy()) {
    closePending_ = true;
    return false;
  }
  closeNow();
  return true;
}

void DeviceLink::shutDown() {
  shutDown_ = true;
  closePort();
}

void DeviceLink::closeNow() {
  closePending_ = false;
  try {
    services_.port.Close();
  } catch (...) {
  }
}

}  // namespace device
