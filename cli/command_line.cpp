#include "cli/command_line.h"

#include <CLI/CLI.hpp>
#include <map>

#include "cli/exit_code.h"
#include "device/archive_read.h"
#include "modbus/exchange.h"
#include "ulm5_version.h"

namespace cli {

namespace {

constexpr int kLowestBaudIndex = 0;
constexpr int kHighestBaudIndex = 6;

// In rising order, as the help shows them.
std::vector<std::pair<std::string, int>> speeds() {
  std::vector<std::pair<std::string, int>> byText;
  for (int index = kLowestBaudIndex; index <= kHighestBaudIndex; ++index) {
    byText.emplace_back(std::to_string(modbus::BaudRateOfIndex(index)), index);
  }
  return byText;
}

void addFileArgument(CLI::App& command, Options& options, const char* what) {
  command.add_option("FILE", options.file, what)->required();
}

}  // namespace

std::optional<Options> ParseCommandLine(const std::vector<std::string>& args, Terminal& terminal,
                                        int& exitCode) {
  Options options;
  CLI::App app{
      "ulm5-cli: the ULM5 configurator on the command line. Every request goes to address 0\n"
      "with the window's timing; messages go to stderr in English with the window's text.\n"
      "Exit codes: 0 done, 1 differences found, 2 bad arguments, 3 port cannot be opened,\n"
      "4 no connection, 5 input refused (the message names the field).",
      "ulm5-cli"};
  app.set_version_flag("--version", std::string("ulm5-cli ") + kUlm5Version);
  app.require_subcommand(1, 1);
  app.add_option("-p,--port", options.port,
                 "COMn (mapped in section Ports of the settings file) or a device path");
  std::string baud;
  app.add_option("-b,--baud", baud, "line speed: 2400, 4800, 9600, 19200, 38400, 57600, 115200")
      ->check(CLI::IsMember(speeds()));
  app.add_flag("--find", options.find, "search every speed from 2400 upwards, as \"Автопоиск\"");
  app.add_option("-s,--settings", options.settingsPath,
                 "settings file (Configurator.ini): sections Ports and ULM5")
      ->check(CLI::ExistingFile);

  CLI::Option* correction = nullptr;
  const std::map<CLI::App*, Command> commands = [&] {
    std::map<CLI::App*, Command> byApp;
    auto* find = app.add_subcommand("find", "identify the instrument");
    find->add_flag("--json", options.json, "as JSON");
    byApp[find] = Command::kFind;

    auto* backup = app.add_subcommand(
        "backup", "save general settings, scale, setpoints and calibration coefficients as JSON");
    addFileArgument(*backup, options, "backup file to write");
    byApp[backup] = Command::kBackup;

    auto* restore = app.add_subcommand(
        "restore", "write a backup back in the window's order, then read back and compare");
    addFileArgument(*restore, options, "backup file to read");
    restore->add_flag("--dry-run", options.dryRun, "print the writes; the port is not opened");
    byApp[restore] = Command::kRestore;

    auto* diff = app.add_subcommand("diff", "compare the instrument with a backup, field by field");
    addFileArgument(*diff, options, "backup file to read");
    byApp[diff] = Command::kDiff;

    auto* clock = app.add_subcommand("clock", "read the instrument's clock, or set it");
    auto* setNow = clock->add_flag("--set-now", options.setNow, "set it to the PC's clock");
    clock->add_option("--set", options.set, "set it to \"dd.mm.yy hh:mm:ss\"")->excludes(setNow);
    correction = clock->add_option("--correction", options.correction,
                                   "clock correction, -9 to 9 (default 0)");
    byApp[clock] = Command::kClock;

    auto* watch = app.add_subcommand("watch", "poll the measurements every two seconds");
    watch->add_option("--count", options.count, "number of polls (default: until Ctrl+C)")
        ->check(CLI::PositiveNumber);
    watch->add_flag("--csv", options.csv, "as CSV");
    byApp[watch] = Command::kWatch;

    auto* archive = app.add_subcommand("archive", "read archive records, newest first");
    archive->add_option("--count", options.count, "number of records")
        ->required()
        ->check(CLI::Range(1, device::kMaxArchiveRecords));
    archive->add_option("--csv", options.csvFile,
                        "write the records to this file as the archive page saves them");
    byApp[archive] = Command::kArchive;
    return byApp;
  }();

  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::ParseError& e) {
    exitCode = app.exit(e, terminal.out, terminal.err) == 0
                   ? static_cast<int>(ExitCode::kDone)
                   : static_cast<int>(ExitCode::kBadArguments);
    return std::nullopt;
  }
  for (const auto& [command, kind] : commands) {
    if (command->parsed()) options.command = kind;
  }
  for (const auto& [text, index] : speeds()) {
    if (text == baud) options.baudIndex = index;
  }
  if (correction->count() > 0 && !options.setNow && !options.set) {
    terminal.err << "ulm5-cli: --correction goes with --set or --set-now\n";
    exitCode = static_cast<int>(ExitCode::kBadArguments);
    return std::nullopt;
  }
  return options;
}

}  // namespace cli
