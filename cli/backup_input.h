#pragma once

#include <string>

#include "cli/backup_file.h"
#include "cli/exit_code.h"
#include "cli/terminal_sink.h"

namespace cli {

// A backup named on the command line, judged whole before the port is
// opened: a file that cannot be read is a bad argument, one that is damaged,
// of a newer version, or of another instrument type is refused.
ExitCode LoadBackup(const std::string& path, TerminalSink& messages, Backup& backup);

}  // namespace cli
