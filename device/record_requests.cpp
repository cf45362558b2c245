#include "device/record_requests.h"

#include "modbus/requests.h"

namespace device {

namespace {

modbus::LinkServices inMode(const modbus::LinkServices& services, const LinkParameters& record) {
  modbus::LinkServices chosen = services;
  chosen.mode = record.mode;
  return chosen;
}

uint8_t portByte(const LinkParameters& record) { return static_cast<uint8_t>(record.portNumber); }

}  // namespace

modbus::ExchangeResult RequestHoldingRegisters(const modbus::LinkServices& services,
                                               const LinkParameters& record, int32_t start,
                                               int32_t count) {
  return modbus::ReadHoldingRegisters(inMode(services, record), portByte(record), record.baudIndex,
                                      record.timing, record.address, start, count);
}

modbus::ExchangeResult RequestInputRegisters(const modbus::LinkServices& services,
                                             const LinkParameters& record, int32_t start,
                                             int32_t count) {
  return modbus::ReadInputRegisters(inMode(services, record), portByte(record), record.baudIndex,
                                    record.timing, record.address, start, count);
}

modbus::ExchangeResult RequestRegisterWrite(const modbus::LinkServices& services,
                                            const LinkParameters& record, int32_t start,
                                            int32_t count, const modbus::ByteString& data) {
  return modbus::WriteMultipleRegisters(inMode(services, record), portByte(record),
                                        record.baudIndex, record.timing, record.address, start,
                                        count, data);
}

}  // namespace device
