#pragma once

#include "modbus/port_interface.h"

// A port that takes every request and never answers.
class SilentPort final : public modbus::PortInterface {
 public:
  void Close() override {}
  void SetComNumber(uint16_t) override {}
  void SetBaudRate(uint32_t) override {}
  void Open() override {}
  void WriteString(const modbus::ByteString& text) override { written += text; }
  int32_t InBufUsed() override { return 0; }
  modbus::ByteString ReadString() override { return {}; }

  modbus::ByteString written;
};
