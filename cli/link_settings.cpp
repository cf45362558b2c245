#include "cli/link_settings.h"

#include <algorithm>

#include "cli/backup_fields.h"
#include "cli/failure_cause.h"
#include "device/data_image.h"
#include "device/identification_block.h"
#include "device/link_parameters.h"
#include "device/reply_length.h"

namespace cli {

std::vector<const BackupField*> LinkSettingFields() {
  return {BackupFieldNamed("general.address"), BackupFieldNamed("general.speed"),
          BackupFieldNamed("general.protocol")};
}

std::vector<std::string> KeepLinkSettings(std::vector<PlannedWrite>& plan,
                                          const RegisterImage& instrument) {
  std::vector<std::string> kept;
  for (const BackupField* field : LinkSettingFields()) {
    const auto own = instrument.at(field->address);
    if (!own) continue;
    for (PlannedWrite& planned : plan) {
      if (!planned.covers(field->address)) continue;
      if (planned.byteAt(field->address) != *own) kept.push_back(field->name);
      planned.write.data[static_cast<size_t>(field->address - planned.firstAddress())] =
          static_cast<char>(*own);
    }
  }
  return kept;
}

bool NewAddressIsFree(Session& session, const std::vector<PlannedWrite>& plan, uint8_t current,
                      ExitCode& code) {
  const BackupField& field = *BackupFieldNamed("general.address");
  const auto write = std::find_if(plan.begin(), plan.end(),
                                  [&](const PlannedWrite& p) { return p.covers(field.address); });
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
  const auto image = device::DataImage::fromReadReply(reply, device::kIdentificationCount);
  if (const auto block = image ? device::DecodeIdentificationBlock(*image) : std::nullopt) {
    who += " (serial number " + device::FormatIdentification(*block).serial + ")";
  }
  session.messages().fail("refused: " + who + " already answers address " + std::to_string(wanted) +
                          " on " + session.choice().devicePath +
                          "; two units would share it; nothing was written");
  code = ExitCode::kRefused;
  return false;
}

}  // namespace cli
