#include "transport/af_custom_com_port.h"

#include "transport/busy_cursor.h"

namespace transport {

void TAfCustomComPort::SetComNumber(uint16_t value) {
  if (value == comNumber_) return;
  if (IsOpen()) {
    Close();
    comNumber_ = value;
    Open();
  } else {
    comNumber_ = value;
  }
}

void TAfCustomComPort::OpenDevice() {
  BusyCursor busy;
  Core().open(comNumber_);
}

}  // namespace transport
