#include "transport/line_parameter_block.h"

namespace transport {

namespace {

uint32_t flowControlFlags(TAfFlowControl flow) {
  switch (flow) {
    case TAfFlowControl::fwNone:
      return 0;
    case TAfFlowControl::fwXOnXOff:
      return dcb_flags::fOutX | dcb_flags::fInX;
    case TAfFlowControl::fwRtsCts:
      return dcb_flags::fOutxCtsFlow | dcb_flags::fRtsControlHandshake;
    case TAfFlowControl::fwDtrDsr:
      return dcb_flags::fOutxDsrFlow | dcb_flags::fDtrControlHandshake;
  }
  return 0;
}

uint32_t optionFlags(const TAfComOptions& options) {
  uint32_t flags = 0;
  if (options.Contains(TAfComOption::coParityCheck)) flags |= dcb_flags::fParity;
  if (options.Contains(TAfComOption::coDsrSensitivity)) flags |= dcb_flags::fDsrSensitivity;
  if (options.Contains(TAfComOption::coIgnoreXOff)) flags |= dcb_flags::fTXContinueOnXoff;
  if (options.Contains(TAfComOption::coErrorChar)) flags |= dcb_flags::fErrorChar;
  if (options.Contains(TAfComOption::coStripNull)) flags |= dcb_flags::fNull;
  return flags;
}

}  // namespace

DCB BuildLineParameterBlock(const LineSettings& s) {
  DCB dcb;
  dcb.DCBlength = sizeof(DCB);
  dcb.BaudRate = s.baudRate == TAfBaudrate::brUser ? static_cast<uint32_t>(s.userBaudRate)
                                                   : BaudRateValue(s.baudRate);
  dcb.Flags = dcb_flags::fBinary | flowControlFlags(s.flowControl) | optionFlags(s.options);
  if (s.dtr && s.flowControl != TAfFlowControl::fwDtrDsr) dcb.Flags |= dcb_flags::fDtrControlEnable;
  if (s.rts && s.flowControl != TAfFlowControl::fwRtsCts) dcb.Flags |= dcb_flags::fRtsControlEnable;
  dcb.XonLim = s.xonLim;
  dcb.XoffLim = s.xoffLim;
  dcb.ByteSize = static_cast<uint8_t>(4 + static_cast<int>(s.databits));
  dcb.Parity = static_cast<uint8_t>(s.parity);
  dcb.StopBits = static_cast<uint8_t>(s.stopbits);
  dcb.XonChar = s.xonChar;
  dcb.XoffChar = s.xoffChar;
  return dcb;
}

}  // namespace transport
