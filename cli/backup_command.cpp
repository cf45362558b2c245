#include <memory>

#include "cli/backup_file.h"
#include "cli/command_context.h"
#include "cli/local_time_text.h"
#include "cli/output_file.h"
#include "cli/unwritable_fields.h"

namespace cli {

namespace {

constexpr const char* kStandardOutput = "-";

}  // namespace

ExitCode RunBackup(CommandContext& context) {
  const std::string& path = context.options.file;
  std::unique_ptr<OutputFile> file;
  if (path != kStandardOutput) {
    file = std::make_unique<OutputFile>(path);
    if (!file->isOpen()) {
      context.messages.fail("cannot write " + path);
      return ExitCode::kBadArguments;
    }
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

  // Kept as read, but a restore will have to leave these out.
  const auto unwritable = UnwritableFields(backup.configuration, BlockChoice{});
  for (const UnwritableField& u : unwritable) {
    context.messages.note("warning: " + u.field->name + " cannot be written back as it is: " +
                          u.reason + " (restore --skip-unwritable leaves it out)");
  }

  const std::string text = EncodeBackup(backup);
  if (!file) {
    context.terminal.out << text << std::flush;
  } else if (!file->commit(text)) {
    context.messages.fail("cannot write " + path);
    return ExitCode::kBadArguments;
  }
  const device::IdentificationTexts texts = device::FormatIdentification(found.block);
  context.messages.note("backup of " + texts.type + " " + texts.serial + " written to " +
                        (file ? path : std::string("standard output")));
  return ExitCode::kDone;
}

}  // namespace cli
