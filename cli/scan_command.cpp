#include <nlohmann/json.hpp>

#include "cli/command_context.h"
#include "cli/failure_cause.h"
#include "cli/interrupt_watch.h"
#include "device/data_image.h"
#include "device/identification_block.h"
#include "device/link_messages.h"
#include "device/reply_length.h"

namespace cli {

ExitCode RunScan(CommandContext& context) {
  const Options& options = context.options;
  ExitCode code = ExitCode::kDone;
  const auto session = context.connect(code);
  if (!session) return code;
  AddressedLink& link = session->link();
  link.parameters().portNumber = session->choice().portNumber;
  link.parameters().baudIndex = session->choice().baudIndex;
  if (!link.portCheck()) {
    context.messages.error(device::kCannotOpenPortText);
    return ExitCode::kPortError;
  }
  // A silent address costs the response delay; an answer ends the exchange at once.
  link.parameters().timing = {options.scanTimeoutMs, options.scanTimeoutMs,
                              std::max(1, options.scanTimeoutMs / 5)};

  const InterruptWatch interrupt;
  nlohmann::ordered_json found = nlohmann::ordered_json::array();
  std::ostream& out = context.terminal.out;
  int answered = 0;
  for (int address = options.scanFirst; address <= options.scanLast; ++address) {
    if (InterruptWatch::requested()) break;
    context.messages.progress("address " + std::to_string(address) + " of " +
                              std::to_string(options.scanFirst) + ".." +
                              std::to_string(options.scanLast));
    link.setAddress(static_cast<uint8_t>(address));
    const modbus::ExchangeResult reply =
        link.readHoldingRegisters(device::kIdentificationStart, device::kIdentificationCount);
    const LinkFailure& failure = link.lastFailure();
    if (failure.anotherTalker || failure.portFailed()) {
      context.messages.fail(RequestFailureCause(failure, address, session->choice().devicePath));
      if (options.json) out << found.dump(2) << '\n';
      return ExitCodeOf(failure);
    }
    if (!device::IsReadSuccess(reply, device::kIdentificationCount)) continue;
    const auto image = device::DataImage::fromReadReply(reply, device::kIdentificationCount);
    const auto block = image ? device::DecodeIdentificationBlock(*image) : std::nullopt;
    if (!block) continue;
    const device::IdentificationTexts texts = device::FormatIdentification(*block);
    ++answered;
    if (options.json) {
      found.push_back({{"address", address},
                       {"type", texts.type},
                       {"typeCode", block->typeCode},
                       {"version", texts.version},
                       {"serialNumber", texts.serial},
                       {"manufactured", texts.date}});
      continue;
    }
    context.messages.endProgress();
    out << "address " << address << ": " << texts.type << ", serial number " << texts.serial
        << ", version " << texts.version << ", manufactured " << texts.date << std::endl;
  }
  context.messages.endProgress();
  if (options.json) out << found.dump(2) << '\n';
  if (InterruptWatch::requested()) {
    context.messages.note("cancelled");
    return InterruptWatch::exitCode();
  }
  if (answered == 0) {
    context.messages.fail("no instrument answered at addresses " +
                          std::to_string(options.scanFirst) + " to " +
                          std::to_string(options.scanLast));
    return ExitCode::kNoConnection;
  }
  return ExitCode::kDone;
}

}  // namespace cli
