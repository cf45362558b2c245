#pragma once

#include <memory>
#include <string>

#include "cli/exit_code.h"
#include "cli/options.h"
#include "cli/session.h"
#include "cli/terminal.h"
#include "cli/terminal_sink.h"
#include "modbus/platform_services.h"

namespace cli {

// What every subcommand works with: its options, the terminal, the message
// sink, and the way to the instrument.
class CommandContext {
 public:
  CommandContext(const Options& given, Terminal& shownOn, modbus::TickSource* tick)
      : options(given), terminal(shownOn), messages(shownOn), tick_(tick) {}

  // The session on the chosen port, with --find after the speed search.
  // Empty with `code` set when that failed (the message has been given).
  std::unique_ptr<Session> connect(ExitCode& code);
  // The same after the identification block was read (by the speed search
  // with --find).
  std::unique_ptr<Session> connectIdentified(backup::Identification& found, ExitCode& code);

  // The locale's decimal separator for numbers shown as the window shows them.
  std::string decimalSeparator() const;

  const Options& options;
  Terminal& terminal;
  TerminalSink messages;

 private:
  std::unique_ptr<Session> open(ExitCode& code);

  modbus::TickSource* tick_;
};

ExitCode RunFind(CommandContext& context);
ExitCode RunBackup(CommandContext& context);
ExitCode RunRestore(CommandContext& context);
ExitCode RunDiff(CommandContext& context);
ExitCode RunClock(CommandContext& context);
ExitCode RunWatch(CommandContext& context);
ExitCode RunArchive(CommandContext& context);
ExitCode RunSet(CommandContext& context);
ExitCode RunScan(CommandContext& context);

}  // namespace cli
