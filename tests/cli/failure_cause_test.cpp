// The cause of a failed request in ulm5-cli's words, from the port's own
// cause where the port failed.

#include "cli/failure_cause.h"

#include <gtest/gtest.h>

#include <string>

#include "modbus/result_codes.h"

namespace cli {
namespace {

using Kind = modbus::PortFailureKind;

TEST(FailureCause, APortFailureIsWordedFromWhatThePortSaw) {
  const std::string device = "/dev/ttyUSB0";
  const struct {
    uint8_t code;
    Kind kind;  // the port's cause
    const char* cause;
  } cases[] = {
      {modbus::kPortOpenError, Kind::kNotFound, "/dev/ttyUSB0 does not exist"},
      {modbus::kPortOpenError, Kind::kNoPermission,
       "no permission to open /dev/ttyUSB0 (is the user in group dialout?)"},
      {modbus::kPortOpenError, Kind::kHeldByOther, "/dev/ttyUSB0 is held by another program"},
      {modbus::kPortOpenError, Kind::kNotSerial, "/dev/ttyUSB0 is not a serial port"},
      {modbus::kPortOpenError, Kind::kSettingsRefused,
       "/dev/ttyUSB0: the driver refused the line settings"},
      {modbus::kPortOpenError, Kind::kOther, "/dev/ttyUSB0 could not be opened"},
      {modbus::kPortOpenError, Kind::kNone, "/dev/ttyUSB0 could not be opened"},
      {modbus::kPortHardwareError, Kind::kWentAway, "/dev/ttyUSB0: the port went away"},
      {modbus::kPortHardwareError, Kind::kNone,
       "the port failed during the exchange on /dev/ttyUSB0"},
      {modbus::kNoAnswer, Kind::kNone, "no reply from address 5 on /dev/ttyUSB0"},
  };
  for (const auto& c : cases) {
    LinkFailure failure;
    failure.code = c.code;
    failure.port = {c.kind, 0, device};
    EXPECT_EQ(RequestFailureCause(failure, 5, device), c.cause);
  }
  // Anything else carries the system's code.
  const std::string other = PortFailureCause({Kind::kOther, 5, device});
  EXPECT_EQ(other.rfind("/dev/ttyUSB0 could not be opened: ", 0), 0u) << other;
  EXPECT_NE(other.find("(error 5)"), std::string::npos) << other;
}

}  // namespace
}  // namespace cli
