#include "cli/backup_file.h"
#include "cli/command_context.h"
#include "cli/interrupt_watch.h"
#include "cli/local_time_text.h"
#include "cli/output_file.h"
#include "cli/unwritable_fields.h"

namespace cli {

ExitCode RunBackup(CommandContext& context) {
  const std::string& path = context.options.file;
  OutputFile file(path, context.terminal.out);
  if (!file.isOpen()) {
    context.messages.fail("cannot write " + path);
    return ExitCode::kBadArguments;
  }
  // A signal ends the read between two requests; the unfinished file goes.
  const InterruptWatch interrupt;
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

  // Kept as read, but a restore will have to leave these out.
  const auto unwritable = UnwritableFields(backup.configuration, BlockChoice{});
  for (const UnwritableField& u : unwritable) {
    context.messages.note("warning: " + u.field->name + " cannot be written back as it is: " +
                          u.reason + " (restore --skip-unwritable leaves it out)");
  }

  if (!file.commit(EncodeBackup(backup))) {
    context.messages.fail("cannot write " + path);
    return ExitCode::kBadArguments;
  }
  const device::IdentificationTexts texts = device::FormatIdentification(found.block);
  context.messages.note("backup of " + texts.type + " " + texts.serial + " written to " +
                        file.name());
  return ExitCode::kDone;
}

}  // namespace cli
