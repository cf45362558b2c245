#pragma once

#include <cstdint>

#include "transport/com_port_types.h"
#include "transport/dcb.h"

namespace transport {

// The properties the line parameter block is built from.
struct LineSettings {
  TAfBaudrate baudRate = TAfBaudrate::br115200;
  int32_t userBaudRate = 0;
  TAfDatabits databits = TAfDatabits::db8;
  TAfParity parity = TAfParity::paNone;
  TAfStopbits stopbits = TAfStopbits::sbOne;
  TAfFlowControl flowControl = TAfFlowControl::fwNone;
  TAfComOptions options;
  bool dtr = true;
  bool rts = true;
  uint16_t xonLim = 0;
  uint16_t xoffLim = 0;
  char xonChar = 17;
  char xoffChar = 19;
};

DCB BuildLineParameterBlock(const LineSettings& settings);

}  // namespace transport
