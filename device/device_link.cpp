#include "device/device_link.h"

#include "modbus/requests.h"

namespace device {

namespace {

uint8_t portByte(int portNumber) { return static_cast<uint8_t>(portNumber); }

}  // namespace

DeviceLink::DeviceLink(const modbus::LinkServices& services) : services_(services) {}

bool DeviceLink::portCheck() {
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

modbus::ExchangeResult DeviceLink::readHoldingRegisters(int32_t start, int32_t count) {
  auto hold = guard_.tryAcquire();
  if (!hold) return modbus::ExchangeResult(1, static_cast<char>(kBusyResult));
  return modbus::ReadHoldingRegisters(services_, portByte(parameters_.portNumber),
                                      parameters_.baudIndex, parameters_.timing, kInstrumentAddress,
                                      start, count);
}

modbus::ExchangeResult DeviceLink::readInputRegisters(int32_t start, int32_t count) {
  auto hold = guard_.tryAcquire();
  if (!hold) return modbus::ExchangeResult(1, static_cast<char>(kBusyResult));
  return modbus::ReadInputRegisters(services_, portByte(parameters_.portNumber),
                                    parameters_.baudIndex, parameters_.timing, kInstrumentAddress,
                                    start, count);
}

modbus::ExchangeResult DeviceLink::writeMultipleRegisters(int32_t start, int32_t count,
                                                          const modbus::ByteString& data) {
  auto hold = guard_.tryAcquire();
  if (!hold) return modbus::ExchangeResult(1, static_cast<char>(kBusyResult));
  return modbus::WriteMultipleRegisters(services_, portByte(parameters_.portNumber),
                                        parameters_.baudIndex, parameters_.timing,
                                        kInstrumentAddress, start, count, data);
}

bool DeviceLink::runExclusive(const std::function<void(const modbus::LinkServices&)>& work) {
  auto hold = guard_.tryAcquire();
  if (!hold) return false;
  work(services_);
  return true;
}

bool DeviceLink::closePort() {
  auto hold = guard_.tryAcquire();
  if (!hold) return false;
  try {
    services_.port.Close();
  } catch (...) {
  }
  return true;
}

}  // namespace device
