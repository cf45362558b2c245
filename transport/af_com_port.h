#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "modbus/port_interface.h"
#include "transport/af_custom_com_port.h"

namespace transport {

// The published serial port component; it is also the port of the Modbus
// link.
class TAfComPort : public TAfCustomComPort, public modbus::PortInterface {
 public:
  explicit TAfComPort(std::string name,
                      std::unique_ptr<SerialDevice> device = createPlatformSerialDevice())
      : TAfCustomComPort(std::move(name), std::move(device)) {}

  using TAfCustomSerialPort::SetBaudRate;

  void Close() override { TAfCustomSerialPort::Close(); }
  void Open() override { TAfCustomSerialPort::Open(); }
  void SetComNumber(uint16_t number) override { TAfCustomComPort::SetComNumber(number); }
  // A rate of the enumeration selects it; any other becomes UserBaudRate.
  void SetBaudRate(uint32_t bitsPerSecond) override;
  void WriteString(const std::string& text) override { TAfCustomSerialPort::WriteString(text); }
  int32_t InBufUsed() override { return TAfCustomSerialPort::InBufUsed(); }
  std::string ReadString() override { return TAfCustomSerialPort::ReadString(); }
  modbus::PortFailure LastFailure() const override { return Core().lastFailure(); }
};

}  // namespace transport
