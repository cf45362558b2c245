#pragma once

#include <cstdint>

#include "cli/link_failure.h"
#include "device/register_link.h"
#include "modbus/exchange.h"

namespace cli {

// How long the line must stay quiet before an answer is trusted to be the
// only one: the reply's time on the wire, a few character times, and an
// instrument's turnaround, after which a second instrument would answer.
inline constexpr modbus::QuietTime kSecondTalkerQuiet{4, 5};

// The link of ulm5-cli: the register requests of the device operations,
// sent to the record's address of a multi-drop line (0 unless chosen),
// judging each reply beyond the window's rules: a request that
// more than one instrument answered fails, so that nothing is taken from
// (or written to) a line where another instrument talks as well. The cause
// of the last failure is kept so that a message can name it. One program,
// one thread: it is never busy.
class AddressedLink final : public device::RegisterLink {
 public:
  // The record starts with `address` and the services' exchange mode.
  AddressedLink(const modbus::LinkServices& services, uint8_t address);

  device::LinkParameters& parameters() override { return parameters_; }
  bool busy() const override { return false; }
  bool portCheck() override;
  modbus::ExchangeResult readHoldingRegisters(int32_t start, int32_t count) override;
  modbus::ExchangeResult readInputRegisters(int32_t start, int32_t count) override;
  modbus::ExchangeResult writeMultipleRegisters(int32_t start, int32_t count,
                                                const modbus::ByteString& data) override;

  uint8_t address() const { return parameters_.address; }
  void setAddress(uint8_t address) { parameters_.address = address; }
  // The last request's failure; `failed()` is false after a success.
  const LinkFailure& lastFailure() const { return failure_; }
  // From now on, a request asked for after Ctrl+C or a signal is not sent
  // but fails as cancelled (InterruptWatch).
  void refuseAfterInterrupt() { refuseAfterInterrupt_ = true; }
  // Errors while closing are of no interest once the work is done.
  void closePort();

 private:
  bool fast() const { return parameters_.mode == modbus::ExchangeMode::kFast; }
  bool refused();
  // Pumps events for `quietMs`, keeping what arrives on the open port.
  void listen(int32_t quietMs);
  void quietBefore(uint8_t function, int32_t start, int32_t count);
  modbus::ExchangeResult judged(modbus::ExchangeResult result);

  modbus::LinkServices services_;
  modbus::LineRecord record_;
  device::LinkParameters parameters_;
  LinkFailure failure_;
  modbus::ExchangeResult lastAnswer_;  // decoded; empty when the last request got none
  modbus::ByteString stray_;           // arrived after the last answer, before the next request
  bool refuseAfterInterrupt_ = false;
};

}  // namespace cli
