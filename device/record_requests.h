#pragma once

#include <cstdint>

#include "device/link_parameters.h"
#include "modbus/byte_string.h"
#include "modbus/exchange.h"

namespace device {

// The register requests of the device operations, sent as the shared record
// says: its port, speed, timing, address and exchange mode. The links of
// both front ends send through these.
modbus::ExchangeResult RequestHoldingRegisters(const modbus::LinkServices& services,
                                               const LinkParameters& record, int32_t start,
                                               int32_t count);
modbus::ExchangeResult RequestInputRegisters(const modbus::LinkServices& services,
                                             const LinkParameters& record, int32_t start,
                                             int32_t count);
modbus::ExchangeResult RequestRegisterWrite(const modbus::LinkServices& services,
                                            const LinkParameters& record, int32_t start,
                                            int32_t count, const modbus::ByteString& data);

}  // namespace device
