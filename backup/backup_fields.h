#pragma once

#include <cstdint>
#include <functional>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "backup/block_choice.h"
#include "backup/configuration.h"

namespace backup {

// One value of a backup: where its bytes lie in the holding registers
// (`address` counts bytes as the data image does, register r at 2r) and
// what the window's control holds for it. The positions come from the
// register blocks of device/; a field without a control ("reserved" bytes
// the window writes as 0) has no value, only its bytes.
struct BackupField {
  std::string name;  // "setpoint1.zone": the JSON path, dot-separated
  Block block;       // the page whose write operation sends it
  int32_t address;
  int width;
  std::function<nlohmann::ordered_json(const Configuration&)> value;
  // False when the JSON value is not of the control's kind.
  std::function<bool(Configuration&, const nlohmann::ordered_json&)> setValue;
  // A list's items by position, where a name says more than the position
  // ("115200" for the speed); empty otherwise.
  std::vector<std::string> itemNames;
  // The bits of its byte the window's controls carry; the others it writes
  // as 0 (setpoint flag bits 5 to 7, switch bits 4 to 7).
  uint8_t writableBits = 0xFF;
  // Why the window's control could not hold the field's value as given (a
  // value field's text that its mask does not take); empty when it could,
  // and for a field without such a rule.
  std::function<std::string(const Configuration&)> refusal;

  int32_t reg() const { return address / 2; }
  int byte() const { return address % 2; }
  bool covers(int32_t at) const { return at >= address && at < address + width; }
};

// Every byte the window's three write operations send, in the order of the
// pages.
const std::vector<BackupField>& BackupFields();

// The field of that name ("setpoint1.zone"), or none.
const BackupField* BackupFieldNamed(std::string_view name);

// The field holding the byte at `address`, or none.
const BackupField* BackupFieldAt(int32_t address);

}  // namespace backup
