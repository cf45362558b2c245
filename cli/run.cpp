#include "cli/run.h"

#include "cli/command_context.h"
#include "cli/command_line.h"

namespace cli {

int Run(const std::vector<std::string>& args, Terminal& terminal, modbus::TickSource* tick) {
  int exitCode = 0;
  const auto options = ParseCommandLine(args, terminal, exitCode);
  if (!options) return exitCode;
  CommandContext context(*options, terminal, tick);
  ExitCode code = ExitCode::kDone;
  switch (options->command) {
    case Command::kFind:
      code = RunFind(context);
      break;
    case Command::kBackup:
      code = RunBackup(context);
      break;
    case Command::kRestore:
      code = RunRestore(context);
      break;
    case Command::kDiff:
      code = RunDiff(context);
      break;
    case Command::kClock:
      code = RunClock(context);
      break;
    case Command::kWatch:
      code = RunWatch(context);
      break;
    case Command::kArchive:
      code = RunArchive(context);
      break;
    case Command::kSet:
      code = RunSet(context);
      break;
    case Command::kScan:
      code = RunScan(context);
      break;
  }
  return static_cast<int>(code);
}

}  // namespace cli
