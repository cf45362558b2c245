#pragma once

#include <cstdint>
#include <vector>

#include "backup/register_image.h"
#include "device/register_link.h"

namespace backup {

// The link as the device operations see it, keeping the raw data of every
// successful holding-register read and every write. Without a link behind
// it, it sends nothing: the port check passes, every write is confirmed and
// every read fails, so an operation shows what it would write (a dry run).
class CapturingLink final : public device::RegisterLink {
 public:
  struct Write {
    int32_t start;
    int32_t count;
    modbus::ByteString data;
  };

  explicit CapturingLink(device::RegisterLink* target = nullptr) : target_(target) {}

  device::LinkParameters& parameters() override;
  bool busy() const override;
  bool portCheck() override;
  modbus::ExchangeResult readHoldingRegisters(int32_t start, int32_t count) override;
  modbus::ExchangeResult readInputRegisters(int32_t start, int32_t count) override;
  modbus::ExchangeResult writeMultipleRegisters(int32_t start, int32_t count,
                                                const modbus::ByteString& data) override;

  const RegisterImage& read() const { return read_; }
  const std::vector<Write>& writes() const { return writes_; }

 private:
  device::RegisterLink* target_;
  device::LinkParameters parameters_;
  RegisterImage read_;
  std::vector<Write> writes_;
};

}  // namespace backup
