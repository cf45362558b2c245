#pragma once

#include <string>

#include "backup/backup_file.h"
#include "cli/exit_code.h"
#include "cli/terminal_sink.h"

namespace cli {

using backup::Backup;

// A backup named on the command line, judged whole before the port is
// opened: a file that cannot be read is a bad argument, one that is damaged,
// of a newer version, or of another instrument type is refused.
ExitCode LoadBackup(const std::string& path, TerminalSink& messages, backup::Backup& backup);

}  // namespace cli
