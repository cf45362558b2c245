#include "backup/backup_file.h"
#include "backup/local_time_text.h"
#include "backup/unwritable_fields.h"
#include "cli/backup_words.h"
#include "cli/command_context.h"
#include "cli/configuration_read.h"
#include "cli/interrupt_watch.h"
#include "cli/output_file.h"

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
  backup::Identification found;
  const auto session = context.connectIdentified(found, code);
  if (!session) return code;

  backup::Backup backup;
  backup.identification = found.raw;
  backup.readAt = backup::LocalTimeText(std::chrono::system_clock::now());
  context.messages.setConfirmationsShown(false);
  code = ReadConfiguration(*session, backup.configuration);
  if (code != ExitCode::kDone) return code;

  // Kept as read, but a restore will have to leave these out.
  const auto unwritable = backup::UnwritableFields(backup.configuration, backup::BlockChoice{});
  for (const backup::UnwritableField& u : unwritable) {
    context.messages.note("warning: " + u.field->name + " cannot be written back as it is: " +
                          UnwritableReasonText(u) + " (restore --skip-unwritable leaves it out)");
  }

  if (!file.commit(backup::EncodeBackup(backup))) {
    context.messages.fail("cannot write " + path);
    return ExitCode::kBadArguments;
  }
  const device::IdentificationTexts texts = found.texts();
  context.messages.note("backup of " + texts.type + " " + texts.serial + " written to " +
                        file.name());
  return ExitCode::kDone;
}

}  // namespace cli
