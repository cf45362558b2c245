#include "cli/link_failure.h"

#include "cli/interrupt_watch.h"
#include "modbus/frame_codec.h"
#include "modbus/result_codes.h"

namespace cli {

bool LinkFailure::portFailed() const {
  return code == modbus::kPortOpenError || port.kind == modbus::PortFailureKind::kWentAway;
}

uint8_t LinkFailure::exceptionCode() const {
  // Address, the function with bit 7 set, the code.
  const modbus::ExchangeResult decoded = modbus::DecodeReply(answer);
  return decoded.size() >= 3 ? static_cast<uint8_t>(decoded[2]) : 0;
}

ExitCode ExitCodeOf(const LinkFailure& failure) {
  if (failure.cancelled) return InterruptWatch::exitCode();
  if (failure.portFailed()) return ExitCode::kPortError;
  if (!failure.anotherTalker && failure.code == modbus::kExceptionReply) {
    return ExitCode::kExceptionReply;
  }
  return ExitCode::kNoConnection;
}

}  // namespace cli
