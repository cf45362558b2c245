#include <nlohmann/json.hpp>

#include "backup/backup_fields.h"
#include "backup/configuration_comparison.h"
#include "cli/backup_input.h"
#include "cli/command_context.h"
#include "cli/configuration_read.h"

namespace cli {

namespace {

using json = nlohmann::ordered_json;
using backup::BackupField;
using backup::Configuration;

std::string shown(const BackupField& field, const Configuration& c) {
  const auto raw = c.raw.bytes(field.reg(), field.byte(), field.width);
  std::string text = field.value ? field.value(c).dump() + " " : std::string();
  return text + "[" + (raw ? backup::HexBytes(*raw) : std::string("not read")) + "]";
}

json entry(const BackupField& field, const Configuration& c) {
  const auto raw = c.raw.bytes(field.reg(), field.byte(), field.width);
  json e = {{"hex", raw ? json(backup::HexBytes(*raw)) : json(nullptr)}};
  if (field.value) e["value"] = field.value(c);
  return e;
}

json identification(const device::IdentificationBlock& block) {
  const device::IdentificationTexts texts = device::FormatIdentification(block);
  return {{"type", texts.type},
          {"version", texts.version},
          {"serialNumber", texts.serial},
          {"manufactured", texts.date}};
}

std::string described(const device::IdentificationBlock& block) {
  const device::IdentificationTexts texts = device::FormatIdentification(block);
  return texts.type + ", serial number " + texts.serial + ", version " + texts.version +
         ", manufactured " + texts.date;
}

}  // namespace

ExitCode RunDiff(CommandContext& context) {
  backup::Backup backup;
  ExitCode code = LoadBackup(context.options.file, context.messages, backup);
  if (code != ExitCode::kDone) return code;
  backup::Identification found;
  const auto session = context.connectIdentified(found, code);
  if (!session) return code;
  Configuration device;
  context.messages.setConfirmationsShown(false);
  code = ReadConfiguration(*session, device);
  if (code != ExitCode::kDone) return code;

  const device::IdentificationBlock saved = backup.instrument();
  const bool sameUnit = saved.serial == found.block.serial;
  context.messages.note("file: " + described(saved) + ", read at " + backup.readAt);
  context.messages.note("instrument: " + described(found.block));
  if (!sameUnit) {
    context.messages.note(
        "warning: another serial number; calibration coefficients belong to "
        "one unit");
  }

  // Field by field, each with the window's text and its bytes.
  json differences = json::array();
  for (const BackupField* field : backup::DifferingFields(backup.configuration, device)) {
    differences.push_back({{"field", field->name},
                           {"file", entry(*field, backup.configuration)},
                           {"instrument", entry(*field, device)}});
    if (!context.options.json) {
      context.terminal.out << field->name << ": file " << shown(*field, backup.configuration)
                           << ", instrument " << shown(*field, device) << '\n';
    }
  }
  if (context.options.json) {
    context.terminal.out << json{{"file", identification(saved)},
                                 {"instrument", identification(found.block)},
                                 {"sameSerialNumber", sameUnit},
                                 {"differences", differences}}
                                .dump(2)
                         << '\n';
  }
  return differences.empty() ? ExitCode::kDone : ExitCode::kDiffers;
}

}  // namespace cli
