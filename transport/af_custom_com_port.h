#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "transport/af_custom_serial_port.h"

namespace transport {

// A serial port chosen by its COM number.
class TAfCustomComPort : public TAfCustomSerialPort {
 public:
  uint16_t ComNumber() const { return comNumber_; }
  // While open: close, store, open again on the new number.
  void SetComNumber(uint16_t value);

 protected:
  TAfCustomComPort(std::string name, std::unique_ptr<SerialDevice> device)
      : TAfCustomSerialPort(std::move(name), std::move(device)) {}
  void OpenDevice() override;

 private:
  uint16_t comNumber_ = 0;
};

}  // namespace transport
