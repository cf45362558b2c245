#include "cli/command_context.h"

#include <locale>

#include "cli/connection_choice.h"
#include "modbus/exchange.h"

namespace cli {

namespace {

// As typed: the operation the log of writes names.
const char* subcommandName(Command command) {
  switch (command) {
    case Command::kFind:
      return "find";
    case Command::kBackup:
      return "backup";
    case Command::kRestore:
      return "restore";
    case Command::kDiff:
      return "diff";
    case Command::kClock:
      return "clock";
    case Command::kWatch:
      return "watch";
    case Command::kArchive:
      return "archive";
    case Command::kSet:
      return "set";
    case Command::kScan:
      return "scan";
  }
  return "";
}

}  // namespace

std::unique_ptr<Session> CommandContext::connect(ExitCode& code) {
  if (!options.find) return open(code);
  backup::Identification found;
  return connectIdentified(found, code);
}

std::unique_ptr<Session> CommandContext::connectIdentified(backup::Identification& found,
                                                           ExitCode& code) {
  auto session = open(code);
  if (session) code = session->identify(options.find, found);
  return code == ExitCode::kDone ? std::move(session) : nullptr;
}

std::unique_ptr<Session> CommandContext::open(ExitCode& code) {
  std::string error;
  const auto choice = ChooseConnection(options, error);
  if (!choice) {
    messages.fail(error);
    code = ExitCode::kBadArguments;
    return nullptr;
  }
  code = ExitCode::kDone;
  SessionSettings settings;
  settings.address = static_cast<uint8_t>(options.address);
  // A scan waits for each address only as long as an answer takes.
  settings.fast = options.fast || options.command == Command::kScan;
  // What these report comes from a request with no other behind it to show
  // a second instrument answering: it must be heard before the answer is taken.
  if (options.command == Command::kFind || options.command == Command::kScan ||
      options.command == Command::kClock || options.command == Command::kWatch) {
    settings.settle = kSecondTalkerQuiet;
  }
  settings.trace = options.trace ? &terminal.err : nullptr;
  // These end on a signal between two requests, with the blocks listed or
  // the unfinished output file removed.
  settings.refuseAfterInterrupt = options.command == Command::kBackup ||
                                  options.command == Command::kRestore ||
                                  options.command == Command::kSet;
  settings.tick = tick_;
  settings.operation = subcommandName(options.command);
  return std::make_unique<Session>(*choice, messages, settings);
}

std::string CommandContext::decimalSeparator() const {
  try {
    return std::string(1, std::use_facet<std::numpunct<char>>(std::locale("")).decimal_point());
  } catch (const std::runtime_error&) {
    return ".";  // a locale the C library does not know
  }
}

}  // namespace cli
