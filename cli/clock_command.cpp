#include <array>
#include <charconv>
#include <chrono>
#include <ctime>

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

std::optional<int> number(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// The list position of the day of week of "dd.mm.yy" (year 20yy), or -1 when
// the text is not a date; the write operation judges the text itself.
int dayOfWeekIndex(std::string_view date) {
  if (date.size() != 8) return -1;
  const auto day = number(date.substr(0, 2));
  const auto month = number(date.substr(3, 2));
  const auto year = number(date.substr(6, 2));
  if (!day || !month || !year) return -1;
  const std::chrono::year_month_day ymd{std::chrono::year(2000 + *year),
                                        std::chrono::month(static_cast<unsigned>(*month)),
                                        std::chrono::day(static_cast<unsigned>(*day))};
  if (!ymd.ok()) return -1;
  return static_cast<int>(std::chrono::weekday(std::chrono::sys_days(ymd)).iso_encoding()) - 1;
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

device::ClockForm typedClockForm(const std::string& text, const std::string& correction) {
  const size_t blank = text.find(' ');
  device::ClockForm form;
  form.date = text.substr(0, blank);
  form.time = blank == std::string::npos ? std::string() : text.substr(blank + 1);
  form.dayOfWeekIndex = dayOfWeekIndex(form.date);
  form.correction = correction;
  return form;
}

}  // namespace

ExitCode RunClock(CommandContext& context) {
  ExitCode code = ExitCode::kDone;
  const auto session = context.connect(code);
  if (!session) return code;
  ClockForm fields;
  const Options& options = context.options;
  if (options.setNow || options.set) {
    fields.form = options.setNow ? pcClockForm(options.correction)
                                 : typedClockForm(*options.set, options.correction);
    return ExitCodeOf(
        device::WriteInstrumentClock(session->link(), *session, fields, context.messages));
  }
  code =
      ExitCodeOf(device::ReadInstrumentClock(session->link(), *session, fields, context.messages));
  if (code != ExitCode::kDone) return code;
  const int day = fields.form.dayOfWeekIndex;
  context.terminal.out << fields.form.date << ' ' << fields.form.time << ' '
                       << (day >= 0 ? kDayNames[static_cast<size_t>(day)] : "?") << '\n';
  return ExitCode::kDone;
}

}  // namespace cli
