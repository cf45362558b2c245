#include "cli/command_line.h"

#include <CLI/CLI.hpp>
#include <charconv>
#include <map>

#include "cli/exit_code.h"
#include "device/archive_read.h"
#include "modbus/exchange.h"
#include "ulm5_version.h"

namespace cli {

namespace {

constexpr int kLowestBaudIndex = 0;
constexpr int kHighestBaudIndex = 6;
constexpr int kHighestAddress = device::kHighestInstrumentAddress;
constexpr int kLongestTimeoutMs = 60000;

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

// A whole number within [low, high], or the reason it is not one.
std::optional<int> wholeNumber(const std::string& text, int low, int high, const std::string& name,
                               std::string& error) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [at, problem] = std::from_chars(text.data(), end, value);
  if (text.empty() || at != end || problem == std::errc::invalid_argument) {
    error = name + ": " + text + " is not a number";
    return std::nullopt;
  }
  if (problem != std::errc() || value < low || value > high) {
    error = name + ": " + text + " is not within " + std::to_string(low) + " to " +
            std::to_string(high);
    return std::nullopt;
  }
  return value;
}

std::optional<backup::BlockChoice> blocksOf(const std::string& list, std::string& error) {
  backup::BlockChoice blocks{false, false, false};
  size_t from = 0;
  while (from <= list.size()) {
    const size_t comma = std::min(list.find(',', from), list.size());
    const std::string name = list.substr(from, comma - from);
    if (name.empty()) {
      error = "--only: an empty name; give one or more of general, setpoints, calibration";
      return std::nullopt;
    }
    if (name == "general") {
      blocks.general = true;
    } else if (name == "setpoints") {
      blocks.setpoints = true;
    } else if (name == "calibration") {
      blocks.calibration = true;
    } else {
      error = "--only: " + name + " is not one of general, setpoints, calibration";
      return std::nullopt;
    }
    from = comma + 1;
  }
  return blocks;
}

// "A-B" within 1..247.
bool rangeOf(const std::string& text, Options& options, std::string& error) {
  const size_t dash = text.find('-');
  if (dash == std::string::npos) {
    error = "--range: " + text + " is not FIRST-LAST";
    return false;
  }
  const auto first = wholeNumber(text.substr(0, dash), 1, kHighestAddress, "--range", error);
  const auto last =
      first ? wholeNumber(text.substr(dash + 1), *first, kHighestAddress, "--range", error)
            : std::nullopt;
  if (!last) return false;
  options.scanFirst = *first;
  options.scanLast = *last;
  return true;
}

// In the order given: CLI11's own message lists them last first.
std::string joined(const std::vector<std::string>& words) {
  std::string text;
  for (const std::string& word : words) text += (text.empty() ? "" : " ") + word;
  return text;
}

}  // namespace

std::optional<Options> ParseCommandLine(const std::vector<std::string>& args, Terminal& terminal,
                                        int& exitCode) {
  Options options;
  CLI::App app{
      "ulm5-cli: the ULM5 configurator on the command line, with the window's timing unless\n"
      "--fast is given; messages go to stderr in English with the window's text.\n"
      "Exit codes: 0 done, 1 differences found, 2 bad arguments, 3 port cannot be opened or\n"
      "went away, 4 no connection (also: more than one instrument answered), 5 input refused\n"
      "(the message names the field), 6 exception reply, 130 Ctrl+C, 143 SIGTERM, 129 SIGHUP.",
      "ulm5-cli"};
  app.set_version_flag("--version", std::string("ulm5-cli ") + kUlm5Version);
  app.require_subcommand(1, 1);
  app.add_option("-p,--port", options.port,
                 "COMn (mapped in section Ports of the settings file) or a device path");
  std::string baud;
  app.add_option("-b,--baud", baud, "line speed: 2400, 4800, 9600, 19200, 38400, 57600, 115200");
  app.add_flag("--find", options.find, "search every speed from 2400 upwards, as \"Автопоиск\"");
  app.add_option("-s,--settings", options.settingsPath,
                 "settings file (Configurator.ini): sections Ports and ULM5");
  std::string address;
  app.add_option("-a,--address", address,
                 "the instrument's address on a multi-drop line, 0 to 247 (default 0)");
  app.add_flag("--fast", options.fast,
               "end each exchange as soon as its answer is in, not after the window's delays");
  app.add_flag("--trace", options.trace, "every frame sent and received, with its time, to stderr");

  CLI::Option* correction = nullptr;
  CLI::Option* onlyOption = nullptr;
  std::string count;
  std::string only;
  std::string csvFormat;
  std::string timeout;
  std::string range;
  const auto jsonFlag = [&](CLI::App* command, const char* what) {
    command->add_flag("--json", options.json, what);
  };
  const std::map<CLI::App*, Command> commands = [&] {
    std::map<CLI::App*, Command> byApp;
    auto* find = app.add_subcommand("find", "identify the instrument");
    jsonFlag(find, "as JSON");
    byApp[find] = Command::kFind;

    auto* backup = app.add_subcommand(
        "backup", "save general settings, scale, setpoints and calibration coefficients as JSON");
    addFileArgument(*backup, options, "backup file to write, - for standard output");
    byApp[backup] = Command::kBackup;

    auto* restore = app.add_subcommand(
        "restore", "write a backup back in the window's order, then read back and compare");
    addFileArgument(*restore, options, "backup file to read");
    restore->add_flag("--dry-run", options.dryRun, "print the writes; the port is not opened");
    onlyOption = restore->add_option(
        "--only", only, "the blocks to write, of general,setpoints,calibration (default all)");
    restore->add_flag("--with-calibration", options.withCalibration,
                      "write the coefficients also to an instrument of another serial number");
    restore->add_flag("--skip-unwritable", options.skipUnwritable,
                      "write every other field when some cannot be written as they are");
    restore->add_flag("--from-values", options.fromValues,
                      "take the \"value\" texts and compute the bytes from them");
    restore->add_flag("--with-link", options.withLink,
                      "also write the address, speed and protocol (default: kept as they are)");
    jsonFlag(restore, "a summary object at the end (the writes with --dry-run)");
    byApp[restore] = Command::kRestore;

    auto* diff = app.add_subcommand("diff", "compare the instrument with a backup, field by field");
    addFileArgument(*diff, options, "backup file to read");
    jsonFlag(diff, "as JSON");
    byApp[diff] = Command::kDiff;

    auto* clock = app.add_subcommand("clock", "read the instrument's clock, or set it");
    auto* setNow = clock->add_flag("--set-now", options.setNow, "set it to the PC's clock");
    clock
        ->add_option("--set", options.set, "set it to \"dd.mm.yy hh:mm:ss\" or 2026-12-07T14:05:00")
        ->excludes(setNow);
    correction = clock->add_option("--correction", options.correction,
                                   "clock correction, -9 to 9 (default 0)");
    jsonFlag(clock, "as JSON");
    byApp[clock] = Command::kClock;

    auto* watch = app.add_subcommand("watch", "poll the measurements every two seconds");
    watch->add_option("--count", count, "number of polls (default: until Ctrl+C)");
    auto* watchCsv = watch->add_flag("--csv", options.csv, "as CSV");
    watch->add_option("--csv-format", csvFormat,
                      "c: \",\" between cells and \".\" in numbers whatever the locale");
    watch->add_flag("--json", options.json, "one JSON object per poll and line")
        ->excludes(watchCsv);
    byApp[watch] = Command::kWatch;

    auto* archive = app.add_subcommand("archive", "read archive records, newest first");
    archive->add_option("--count", count, "number of records")->required();
    archive->add_option("--csv", options.csvFile,
                        "write the records to this file as the archive page saves them "
                        "(- for standard output)");
    byApp[archive] = Command::kArchive;

    auto* set = app.add_subcommand(
        "set", "write fields by name and value, e.g. setpoint1.value=085.0 general.filterPeriod=5");
    set->add_option("FIELD=VALUE", options.assignments, "the fields to write")->required();
    byApp[set] = Command::kSet;

    auto* scan = app.add_subcommand("scan", "list the addresses on the line that answer");
    scan->add_option("--timeout", timeout, "the wait for each address in ms (default 100)");
    scan->add_option("--range", range, "the addresses tried, FIRST-LAST (default 1-247)");
    jsonFlag(scan, "as JSON");
    byApp[scan] = Command::kScan;
    for (auto& [command, kind] : byApp) command->fallthrough();
    return byApp;
  }();

  std::vector<std::string> reversed(args.rbegin(), args.rend());
  std::string error;
  try {
    app.parse(reversed);
  } catch (const CLI::ExtrasError&) {
    const std::vector<std::string> extras = app.remaining();
    error = "unexpected arguments: " + joined(extras);
  } catch (const CLI::RequiredError& e) {
    const bool subcommandMissing = app.get_subcommands().empty();
    const std::vector<std::string> extras = app.remaining();
    if (subcommandMissing && !extras.empty()) {
      error = "unknown subcommand " + extras.front() +
              "; one of find, backup, restore, diff, clock, watch, archive, set, scan";
    } else {
      error = e.what();
    }
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() == 0) {  // --help, --version
      app.exit(e, terminal.out, terminal.err);
      exitCode = static_cast<int>(ExitCode::kDone);
      return std::nullopt;
    }
    error = e.what();
  }
  for (const auto& [command, kind] : commands) {
    if (command->parsed()) options.command = kind;
  }
  if (error.empty() && !baud.empty()) {
    for (const auto& [text, index] : speeds()) {
      if (text == baud) options.baudIndex = index;
    }
    if (!options.baudIndex) error = "--baud: " + baud + " is not one of 2400 to 115200";
  }
  if (error.empty() && !address.empty()) {
    const auto n = wholeNumber(address, 0, kHighestAddress, "--address", error);
    if (n) options.address = *n;
  }
  if (error.empty() && !count.empty()) {
    const int most = options.command == Command::kArchive ? device::kMaxArchiveRecords : 1000000;
    options.count = wholeNumber(count, 1, most, "--count", error);
  }
  // An empty list (an unset shell variable) chooses nothing rather than everything.
  if (error.empty() && onlyOption->count() > 0) {
    if (const auto blocks = blocksOf(only, error)) options.only = *blocks;
  }
  if (error.empty() && !csvFormat.empty()) {
    if (csvFormat == "c") {
      options.csvPointFormat = true;
    } else if (csvFormat != "locale") {
      error = "--csv-format: " + csvFormat + " is not c or locale";
    }
  }
  if (error.empty() && !timeout.empty()) {
    const auto ms = wholeNumber(timeout, 1, kLongestTimeoutMs, "--timeout", error);
    if (ms) options.scanTimeoutMs = *ms;
  }
  if (error.empty() && !range.empty()) rangeOf(range, options, error);
  if (error.empty() && correction->count() > 0 && !options.setNow && !options.set) {
    error = "--correction goes with --set or --set-now";
  }
  if (!error.empty()) {
    terminal.err << "ulm5-cli: error: " << error << "\nRun with --help for more information.\n";
    exitCode = static_cast<int>(ExitCode::kBadArguments);
    return std::nullopt;
  }
  return options;
}

}  // namespace cli
