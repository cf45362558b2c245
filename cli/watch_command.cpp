#include <chrono>

#include "cli/command_context.h"
#include "cli/english_messages.h"
#include "cli/interrupt_watch.h"
#include "device/csv_text.h"
#include "device/measurement_poll.h"

namespace cli {

namespace {

// TimerIzmer's period.
constexpr std::chrono::milliseconds kPollPeriod{2000};
constexpr std::string_view kFaultCodePrefix = "Код ошибки: ";

// The page "Измерения" as the poll fills it.
class MeasurementLine final : public device::MeasurementView {
 public:
  void showValues(const device::MeasuredTexts& texts) override { values = texts; }
  void showStates(const device::StateIndicators& states) override { indicators = states; }

  // Setpoints (red) and relays (closed) as "1" and "0", setpoint 1 first.
  std::string setpoints() const {
    std::string bits;
    for (bool active : indicators.setpoints) bits += active ? '1' : '0';
    return bits;
  }
  std::string relays() const {
    std::string bits;
    for (const std::string& relay : indicators.relays) {
      bits += relay == device::kRelayClosedText ? '1' : '0';
    }
    return bits;
  }
  std::string faultWord() const {
    const std::string& text = indicators.errorCode;
    return text.starts_with(kFaultCodePrefix) ? text.substr(kFaultCodePrefix.size()) : text;
  }

  std::vector<std::string> cells() const {
    return {values.dateTime, values.parameter, values.physical, values.coldJunction,
            faultWord(),     setpoints(),      relays()};
  }

  device::MeasuredTexts values;
  device::StateIndicators indicators;
};

}  // namespace

ExitCode RunWatch(CommandContext& context) {
  ExitCode code = ExitCode::kDone;
  const auto session = context.connect(code);
  if (!session) return code;
  MeasurementLine line;
  device::MeasurementPoll poll(session->link(), line);
  if (!poll.start(session->connection(), context.messages)) return ExitCode::kPortError;

  const InterruptWatch interrupt;
  const std::string separator = context.decimalSeparator();
  const char listSeparator = device::CsvListSeparator(separator);
  std::ostream& out = context.terminal.out;
  if (context.options.csv) {
    std::string header;
    device::AppendCsvRow(header,
                         {"time", "parameter", "physical quantity", "ambient temperature",
                          "fault word", "setpoints", "relays"},
                         listSeparator);
    out << header << std::flush;
  }
  bool answered = true;
  for (int polls = 1;; ++polls) {
    const device::PollOutcome outcome = poll.poll(separator);
    std::string text;
    if (outcome == device::PollOutcome::kShown && context.options.csv) {
      device::AppendCsvRow(text, line.cells(), listSeparator);
    } else if (outcome == device::PollOutcome::kShown) {
      text = line.values.dateTime + "  parameter " + line.values.parameter + "  physical " +
             line.values.physical + "  ambient " + line.values.coldJunction + "  fault word " +
             line.faultWord() + "  setpoints " + line.setpoints() + "  relays " + line.relays() +
             "\n";
    } else {
      answered = false;
      context.messages.fail(EnglishMessage(device::kNoAnswerText));
    }
    out << text << std::flush;
    if (context.options.count && polls >= *context.options.count) break;
    if (interrupt.waitFor(kPollPeriod)) break;
  }
  poll.stop();
  return answered ? ExitCode::kDone : ExitCode::kNoConnection;
}

}  // namespace cli
