#include <nlohmann/json.hpp>

#include "cli/command_context.h"
#include "modbus/exchange.h"

namespace cli {

ExitCode RunFind(CommandContext& context) {
  ExitCode code = ExitCode::kDone;
  backup::Identification found;
  const auto session = context.connectIdentified(found, code);
  if (!session) return code;
  const device::IdentificationBlock& block = found.block;
  const device::IdentificationTexts texts = found.texts();
  const uint32_t speed = modbus::BaudRateOfIndex(session->choice().baudIndex);
  std::ostream& out = context.terminal.out;
  if (context.options.json) {
    const nlohmann::json document = {{"type", texts.type},
                                     {"typeCode", block.typeCode},
                                     {"version", texts.version},
                                     {"serialNumber", texts.serial},
                                     {"manufactured", texts.date},
                                     {"port", session->choice().devicePath},
                                     {"baud", speed}};
    out << document.dump(2) << '\n';
  } else {
    out << "type:          " << texts.type << '\n'
        << "version:       " << texts.version << '\n'
        << "serial number: " << texts.serial << '\n'
        << "manufactured:  " << texts.date << '\n'
        << "port:          " << session->choice().devicePath << " at " << speed << " bit/s\n";
  }
  return ExitCode::kDone;
}

}  // namespace cli
