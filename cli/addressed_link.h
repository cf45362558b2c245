#pragma once

#include <cstdint>

#include "device/register_link.h"
#include "modbus/exchange.h"

namespace cli {

// The link of ulm5-cli: the register requests of the device operations,
// sent to one address of a multi-drop line (0 as the window does unless
// chosen), keeping the result code of the last request that failed so that
// a message can name the cause. One program, one thread: it is never busy.
class AddressedLink final : public device::RegisterLink {
 public:
  AddressedLink(const modbus::LinkServices& services, uint8_t address)
      : services_(services), address_(address) {}

  device::LinkParameters& parameters() override { return parameters_; }
  bool busy() const override { return false; }
  bool portCheck() override;
  modbus::ExchangeResult readHoldingRegisters(int32_t start, int32_t count) override;
  modbus::ExchangeResult readInputRegisters(int32_t start, int32_t count) override;
  modbus::ExchangeResult writeMultipleRegisters(int32_t start, int32_t count,
                                                const modbus::ByteString& data) override;

  uint8_t address() const { return address_; }
  void setAddress(uint8_t address) { address_ = address; }
  // 0 while the last request succeeded, else its result code.
  uint8_t lastFailure() const { return lastFailure_; }
  // Errors while closing are of no interest once the work is done.
  void closePort();

 private:
  modbus::ExchangeResult judged(modbus::ExchangeResult result);
  uint8_t portByte() const { return static_cast<uint8_t>(parameters_.portNumber); }

  modbus::LinkServices services_;
  device::LinkParameters parameters_;
  uint8_t address_;
  uint8_t lastFailure_ = 0;
};

}  // namespace cli
