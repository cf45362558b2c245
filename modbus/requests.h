#pragma once

#include <cstdint>

#include "modbus/byte_string.h"
#include "modbus/exchange.h"

namespace modbus {

// The six function requests. Each builds its payload, runs one Exchange and
// checks that the reply belongs to the request, in a fixed order: transaction
// code, address (15h), exception (16h), function (17h), then byte count (18h)
// and length (19h) for reads, or length 6 (1Ah) for writes. Never throw.
ExchangeResult ReadCoils(const LinkServices& link, uint8_t portNumber, int baudIndex,
                         const ExchangeTiming& timing, uint8_t address, int32_t start,
                         int32_t count);
ExchangeResult ReadDiscreteInputs(const LinkServices& link, uint8_t portNumber, int baudIndex,
                                  const ExchangeTiming& timing, uint8_t address, int32_t start,
                                  int32_t count);
ExchangeResult ReadHoldingRegisters(const LinkServices& link, uint8_t portNumber, int baudIndex,
                                    const ExchangeTiming& timing, uint8_t address, int32_t start,
                                    int32_t count);
ExchangeResult ReadInputRegisters(const LinkServices& link, uint8_t portNumber, int baudIndex,
                                  const ExchangeTiming& timing, uint8_t address, int32_t start,
                                  int32_t count);
ExchangeResult WriteMultipleCoils(const LinkServices& link, uint8_t portNumber, int baudIndex,
                                  const ExchangeTiming& timing, uint8_t address, int32_t start,
                                  int32_t count, const ByteString& data);
ExchangeResult WriteMultipleRegisters(const LinkServices& link, uint8_t portNumber, int baudIndex,
                                      const ExchangeTiming& timing, uint8_t address, int32_t start,
                                      int32_t count, const ByteString& data);

}  // namespace modbus
