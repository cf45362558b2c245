#include "device/device_link.h"

#include "modbus/requests.h"

namespace device {

namespace {

uint8_t portByte(int portNumber) { return static_cast<uint8_t>(portNumber); }

}  // namespace

// Declared before a hold, so that it runs after the hold has released the link.
class DeviceLink::DeferredClose {
 public:
  explicit DeferredClose(DeviceLink& link) : link_(link) {}
  DeferredClose(const DeferredClose&) = delete;
  DeferredClose& operator=(const DeferredClose&) = delete;
  ~DeferredClose() {
    if (link_.closePending_ && !link_.guard_.busy()) link_.closeNow();
  }

 private:
  DeviceLink& link_;
};

DeviceLink::DeviceLink(const modbus::LinkServices& services) : services_(services) {}

bool DeviceLink::portCheck() {
  if (shutDown_) return false;
  const DeferredClose deferred(*this);
  auto hold = guard_.tryAcquire();
  if (!hold) return false;
  try {
    services_.port.Close();
    services_.port.SetComNumber(static_cast<uint16_t>(parameters_.portNumber));
    services_.port.Open();
    services_.port.Close();
    return true;
  } catch (...) {
    // Leave the port closed whatever step failed; the next exchange opens it anew.
    try {
      services_.port.Close();
    } catch (...) {
    }
    return false;
  }
}

modbus::ExchangeResult DeviceLink::request(const std::function<modbus::ExchangeResult()>& send) {
  if (shutDown_) return modbus::ExchangeResult(1, static_cast<char>(kBusyResult));
  const DeferredClose deferred(*this);
  auto hold = guard_.tryAcquire();
  if (!hold) return modbus::ExchangeResult(1, static_cast<char>(kBusyResult));
  return send();
}

modbus::ExchangeResult DeviceLink::readHoldingRegisters(int32_t start, int32_t count) {
  return request([&] {
    return modbus::ReadHoldingRegisters(services_, portByte(parameters_.portNumber),
                                        parameters_.baudIndex, parameters_.timing,
                                        kInstrumentAddress, start, count);
  });
}

modbus::ExchangeResult DeviceLink::readInputRegisters(int32_t start, int32_t count) {
  return request([&] {
    return modbus::ReadInputRegisters(services_, portByte(parameters_.portNumber),
                                      parameters_.baudIndex, parameters_.timing, kInstrumentAddress,
                                      start, count);
  });
}

modbus::ExchangeResult DeviceLink::writeMultipleRegisters(int32_t start, int32_t count,
                                                          const modbus::ByteString& data) {
  return request([&] {
    return modbus::WriteMultipleRegisters(services_, portByte(parameters_.portNumber),
                                          parameters_.baudIndex, parameters_.timing,
                                          kInstrumentAddress, start, count, data);
  });
}

bool DeviceLink::runExclusive(const std::function<void(const modbus::LinkServices&)>& work) {
  if (shutDown_) return false;
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
