#include <array>
#include <chrono>
#include <ctime>
#include <nlohmann/json.hpp>

#include "cli/clock_text.h"
#include "cli/command_context.h"
#include "device/clock_setting.h"

namespace cli {

namespace {

constexpr std::array<const char*, 7> kDayNames = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
constexpr const char* kEmptyDate = "  .  .  ";
constexpr const char* kEmptyTime = "  :  :  ";

class ClockForm final : public device::ClockFields {
 public:
  device::ClockForm clockForm() const override { return form; }
  void showClock(const device::ClockForm& shown) override { form = shown; }
  device::ClockForm form;
};

std::string twoDigits(int value) {
  return std::string{static_cast<char>('0' + value / 10 % 10), static_cast<char>('0' + value % 10)};
}

device::ClockForm pcClockForm(const std::string& correction) {
  const std::time_t now = std::time(nullptr);
  std::tm t{};
  localtime_r(&now, &t);
  const device::PcClockTexts pc =
      device::FormatPcClock(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min,
                            t.tm_sec, t.tm_wday == 0 ? 7 : t.tm_wday);
  return device::CopyPcClock(pc, {kEmptyDate, kEmptyTime, 0, correction});
}

device::ClockForm typedClockForm(const TypedClock& clock, const std::string& correction) {
  device::ClockForm form;
  form.date = twoDigits(clock.day) + "." + twoDigits(clock.month) + "." + twoDigits(clock.year);
  form.time = twoDigits(clock.hour) + ":" + twoDigits(clock.minute) + ":" + twoDigits(clock.second);
  form.dayOfWeekIndex = clock.isoWeekday - 1;
  form.correction = correction;
  return form;
}

// "07.12.26" and "14:05:00" as ISO 8601, the year in 2000 to 2099.
std::string isoText(const device::ClockForm& form) {
  const std::string& d = form.date;
  if (d.size() != 8 || form.time.size() != 8) return {};
  return "20" + d.substr(6, 2) + "-" + d.substr(3, 2) + "-" + d.substr(0, 2) + "T" + form.time;
}

}  // namespace

ExitCode RunClock(CommandContext& context) {
  const Options& options = context.options;
  ClockForm fields;
  if (options.set) {
    std::string error;
    const auto typed = ParseClockText(*options.set, error);
    if (!typed) {
      context.messages.fail("--set refused: " + error + "; nothing was sent");
      return ExitCode::kRefused;
    }
    fields.form = typedClockForm(*typed, options.correction);
  }
  ExitCode code = ExitCode::kDone;
  const auto session = context.connect(code);
  if (!session) return code;
  if (options.setNow || options.set) {
    if (options.setNow) fields.form = pcClockForm(options.correction);
    return session->exitCodeOf(
        device::WriteInstrumentClock(session->link(), *session, fields, context.messages));
  }
  code = session->exitCodeOf(
      device::ReadInstrumentClock(session->link(), *session, fields, context.messages));
  if (code != ExitCode::kDone) return code;
  const int day = fields.form.dayOfWeekIndex;
  const char* dayName = day >= 0 && day < 7 ? kDayNames[static_cast<size_t>(day)] : "?";
  if (options.json) {
    context.terminal.out << nlohmann::ordered_json{{"date", fields.form.date},
                                                   {"time", fields.form.time},
                                                   {"dayOfWeek", dayName},
                                                   {"iso", isoText(fields.form)}}
                                .dump()
                         << '\n';
  } else {
    context.terminal.out << fields.form.date << ' ' << fields.form.time << ' ' << dayName << '\n';
  }
  return ExitCode::kDone;
}

}  // namespace cli
