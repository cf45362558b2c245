#include <charconv>
#include <chrono>
#include <nlohmann/json.hpp>

#include "backup/local_time_text.h"
#include "cli/command_context.h"
#include "cli/interrupt_watch.h"
#include "device/csv_text.h"
#include "device/data_image.h"
#include "device/date_time_text.h"
#include "device/link_parameters.h"
#include "device/measurement_poll.h"

namespace cli {

namespace {

// TimerIzmer's period.
constexpr std::chrono::milliseconds kPollPeriod{2000};

// One poll as the page "Измерения" shows it, the instrument's time with
// its seconds.
struct PollRow {
  std::string pcTime;
  std::optional<device::CurrentData> data;
  device::MeasuredTexts texts;
  std::string cause;  // why nothing came

  std::string instrumentTime() const {
    if (!data) return {};
    return texts.dateTime + ":" + device::TwoDigitText(data->clock.seconds);
  }
  // Setpoints (active) and relays (closed) as "1" and "0", number 1 first.
  static std::string bits(uint8_t states) {
    std::string text;
    for (int n = 0; n < device::kSetpointCount; ++n) text += (states >> n & 1) != 0 ? '1' : '0';
    return text;
  }
  std::vector<std::string> cells() const {
    if (!data) return {pcTime, "", "", "", "", "", "", "", cause};
    return {pcTime,
            instrumentTime(),
            texts.parameter,
            texts.physical,
            texts.coldJunction,
            std::to_string(data->faultWord),
            bits(data->setpointStates),
            bits(data->relayStates),
            ""};
  }
  // The values as shown, with a point, as JSON numbers.
  nlohmann::ordered_json json() const {
    if (!data) return {{"pcTime", pcTime}, {"error", cause}};
    const device::MeasuredTexts shown = device::FormatMeasuredTexts(*data, ".");
    return {{"pcTime", pcTime},
            {"instrumentTime", instrumentTime()},
            {"parameter", number(shown.parameter)},
            {"physical", number(shown.physical)},
            {"ambient", number(shown.coldJunction)},
            {"faultWord", data->faultWord},
            {"setpoints", bits(data->setpointStates)},
            {"relays", bits(data->relayStates)}};
  }
  static nlohmann::ordered_json number(const std::string& text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return text;
    return value;
  }
  std::string line() const {
    if (!data) return pcTime + "  no answer: " + cause + "\n";
    return instrumentTime() + "  parameter " + texts.parameter + "  physical " + texts.physical +
           "  ambient " + texts.coldJunction + "  fault word " + std::to_string(data->faultWord) +
           "  setpoints " + bits(data->setpointStates) + "  relays " + bits(data->relayStates) +
           "\n";
  }
};

}  // namespace

ExitCode RunWatch(CommandContext& context) {
  const Options& options = context.options;
  ExitCode code = ExitCode::kDone;
  const auto session = context.connect(code);
  if (!session) return code;
  AddressedLink& link = session->link();
  // "Начать измерение": the fast timing set and the port check.
  link.parameters().timing = device::kFastTiming;
  if (!device::StorePortAndCheck(link, session->connection(), context.messages)) {
    return ExitCode::kPortError;
  }

  const InterruptWatch interrupt;
  // The window's CSV follows the locale; "c" is the same whatever the locale.
  const std::string separator = options.csvPointFormat ? "." : context.decimalSeparator();
  const char listSeparator = options.csvPointFormat ? ',' : device::CsvListSeparator(separator);
  std::ostream& out = context.terminal.out;
  if (options.csv) {
    std::string header;
    device::AppendCsvRow(header,
                         {"pc time", "instrument time", "parameter", "physical quantity",
                          "ambient temperature", "fault word", "setpoints", "relays", "error"},
                         listSeparator);
    out << header << std::flush;
  }
  ExitCode ending = ExitCode::kDone;
  for (int polls = 1;; ++polls) {
    PollRow row;
    row.pcTime = backup::LocalTimeText(std::chrono::system_clock::now());
    const auto image = device::DataImage::fromReadReply(
        link.readInputRegisters(device::kCurrentDataStart, device::kCurrentDataCount),
        device::kCurrentDataCount);
    row.data = image ? device::DecodeCurrentData(*image) : std::nullopt;
    std::string text;
    if (row.data) {
      row.texts = device::FormatMeasuredTexts(*row.data, separator);
    } else {
      ending = session->failureExitCode();
      row.cause = session->failureCause();
      context.messages.error(device::kNoAnswerText);
    }
    if (options.json) {
      text = row.json().dump() + "\n";
    } else if (options.csv) {
      device::AppendCsvRow(text, row.cells(), listSeparator);
    } else if (row.data) {
      text = row.line();
    }
    out << text << std::flush;
    // A port that went away does not come back by polling it, and a second
    // instrument on the address makes every value doubtful.
    if (!row.data && (ending == ExitCode::kPortError || link.lastFailure().anotherTalker)) break;
    if (options.count && polls >= *options.count) break;
    if (interrupt.waitFor(kPollPeriod)) {
      ending = InterruptWatch::exitCode();
      break;
    }
  }
  link.closePort();
  return ending;
}

}  // namespace cli
