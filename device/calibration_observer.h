#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "device/calibration_coefficient_blocks.h"
#include "modbus/byte_string.h"

namespace device {

// What the operations of the page "Калибровка" did to the instrument, told
// besides their messages: a coefficient group read, or written and confirmed,
// with its texts as the page shows the instrument's values (a written single
// as it reads back, not as typed), and every calibration command that went
// out, with the instrument's reply.
class CalibrationObserver {
 public:
  virtual ~CalibrationObserver() = default;
  virtual void coefficientsRead(CoefficientGroup group, const std::vector<std::string>& texts) = 0;
  virtual void coefficientsWritten(CoefficientGroup group,
                                   const std::vector<std::string>& texts) = 0;
  virtual void pointCommandSent(int point, int16_t value, const modbus::ExchangeResult& reply) = 0;
};

}  // namespace device
