#include "device/calibration_command.h"

#include "device/data_image.h"

namespace device {

namespace {

constexpr size_t kCommandOffset = 0;
constexpr size_t kValueOffset = 2;

}  // namespace

modbus::ByteString EncodeCalibrationCommand(uint8_t command, int16_t value) {
  DataImage image(2 * static_cast<size_t>(kCalibrationCommandCount));
  image.setU8(kCommandOffset, command);
  image.setI16(kValueOffset, value);
  return image.bytes();
}

}  // namespace device
