#include "cli/backup_file.h"
#include "cli/command_context.h"
#include "cli/local_time_text.h"
#include "cli/output_file.h"

namespace cli {

ExitCode RunBackup(CommandContext& context) {
  OutputFile file(context.options.file);
  if (!file.isOpen()) {
    context.messages.fail("cannot write " + context.options.file);
    return ExitCode::kBadArguments;
  }
  ExitCode code = ExitCode::kDone;
  Identification found;
  const auto session = context.connectIdentified(found, code);
  if (!session) return code;

  Backup backup;
  backup.identification = found.raw;
  backup.readAt = LocalTimeText(std::chrono::system_clock::now());
  context.messages.setConfirmationsShown(false);
  code = ReadConfiguration(*session, backup.configuration);
  if (code != ExitCode::kDone) return code;

  if (!file.commit(EncodeBackup(backup))) {
    context.messages.fail("cannot write " + context.options.file);
    return ExitCode::kBadArguments;
  }
  const device::IdentificationTexts texts = device::FormatIdentification(found.block);
  context.messages.note("backup of " + texts.type + " " + texts.serial + " written to " +
                        context.options.file);
  return ExitCode::kDone;
}

}  // namespace cli
