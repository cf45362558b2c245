#include "transport/af_com_port.h"

namespace transport {

void TAfComPort::SetBaudRate(uint32_t bitsPerSecond) {
  for (int i = 0; i < static_cast<int>(TAfBaudrate::brUser); ++i) {
    const auto rate = static_cast<TAfBaudrate>(i);
    if (BaudRateValue(rate) == bitsPerSecond) {
      TAfCustomSerialPort::SetBaudRate(rate);
      return;
    }
  }
  SetUserBaudRate(static_cast<int32_t>(bitsPerSecond));
}

}  // namespace transport
