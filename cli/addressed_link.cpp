#include "cli/addressed_link.h"

#include "modbus/requests.h"
#include "modbus/result_codes.h"

namespace cli {

bool AddressedLink::portCheck() {
  try {
    services_.port.Close();
    services_.port.SetComNumber(static_cast<uint16_t>(parameters_.portNumber));
    services_.port.Open();
    services_.port.Close();
    lastFailure_ = 0;
    return true;
  } catch (...) {
    closePort();
    lastFailure_ = modbus::kPortOpenError;
    return false;
  }
}

modbus::ExchangeResult AddressedLink::judged(modbus::ExchangeResult result) {
  lastFailure_ = result.size() == 1 ? static_cast<uint8_t>(result[0]) : 0;
  return result;
}

modbus::ExchangeResult AddressedLink::readHoldingRegisters(int32_t start, int32_t count) {
  return judged(modbus::ReadHoldingRegisters(services_, portByte(), parameters_.baudIndex,
                                             parameters_.timing, address_, start, count));
}

modbus::ExchangeResult AddressedLink::readInputRegisters(int32_t start, int32_t count) {
  return judged(modbus::ReadInputRegisters(services_, portByte(), parameters_.baudIndex,
                                           parameters_.timing, address_, start, count));
}

modbus::ExchangeResult AddressedLink::writeMultipleRegisters(int32_t start, int32_t count,
                                                             const modbus::ByteString& data) {
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
