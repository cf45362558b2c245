#include "cli/backup_fields.h"
#include "cli/backup_input.h"
#include "cli/command_context.h"

namespace cli {

namespace {

std::string shown(const BackupField& field, const Configuration& c) {
  const auto raw = c.raw.bytes(field.reg(), field.byte(), field.width);
  std::string text = field.value ? field.value(c).dump() + " " : std::string();
  return text + "[" + (raw ? HexBytes(*raw) : std::string("not read")) + "]";
}

}  // namespace

ExitCode RunDiff(CommandContext& context) {
  Backup backup;
  ExitCode code = LoadBackup(context.options.file, context.messages, backup);
  if (code != ExitCode::kDone) return code;
  const auto session = context.connect(code);
  if (!session) return code;
  Configuration device;
  context.messages.setConfirmationsShown(false);
  code = ReadConfiguration(*session, device);
  if (code != ExitCode::kDone) return code;

  // Field by field, each with the window's text and its bytes.
  bool differs = false;
  for (const BackupField& field : BackupFields()) {
    const std::string inFile = shown(field, backup.configuration);
    const std::string inDevice = shown(field, device);
    if (inFile == inDevice) continue;
    differs = true;
    context.terminal.out << field.name << ": file " << inFile << ", instrument " << inDevice
                         << '\n';
  }
  return differs ? ExitCode::kDiffers : ExitCode::kDone;
}

}  // namespace cli
