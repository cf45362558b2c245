#include "cli/link_settings.h"

#include <algorithm>

#include "backup/backup_fields.h"
#include "backup/identification.h"
#include "cli/failure_cause.h"
#include "device/link_parameters.h"
#include "device/reply_length.h"

namespace cli {

bool NewAddressIsFree(Session& session, const std::vector<backup::PlannedWrite>& plan,
                      uint8_t current, ExitCode& code) {
  const backup::BackupField& field = *backup::BackupFieldNamed("general.address");
  const auto write = std::find_if(plan.begin(), plan.end(), [&](const backup::PlannedWrite& p) {
    return p.covers(field.address);
  });
  if (write == plan.end()) return true;
  const uint8_t wanted = write->byteAt(field.address);
  // Every unit answers address 0: it is nobody's own.
  if (wanted == current || wanted == 0) return true;

  AddressedLink& link = session.link();
  const uint8_t addressed = link.address();
  link.setAddress(wanted);
  link.parameters().portNumber = session.choice().portNumber;
  link.parameters().baudIndex = session.choice().baudIndex;
  link.parameters().timing = device::kStandardTiming;
  session.messages().progress("asking address " + std::to_string(wanted) + " before moving there");
  const modbus::ExchangeResult reply =
      link.readHoldingRegisters(device::kIdentificationStart, device::kIdentificationCount);
  link.setAddress(addressed);
  session.messages().endProgress();
  const LinkFailure failure = link.lastFailure();
  if (failure.portFailed() || failure.cancelled) {
    session.messages().fail(RequestFailureCause(failure, wanted, session.choice().devicePath));
    code = ExitCodeOf(failure);
    return false;
  }
  // Silence: nobody holds the address.
  if (failure.failed() && failure.received.empty()) return true;
  std::string who = "an instrument";
  if (const auto identification = backup::Identification::fromReply(reply)) {
    who += " (serial number " + identification->texts().serial + ")";
  }
  session.messages().fail("refused: " + who + " already answers address " + std::to_string(wanted) +
                          " on " + session.choice().devicePath +
                          "; two units would share it; nothing was written");
  code = ExitCode::kRefused;
  return false;
}

}  // namespace cli
