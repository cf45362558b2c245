#include "device/clock_setting.h"

#include <array>
#include <chrono>
#include <optional>
#include <string_view>

#include "device/clock_block.h"
#include "device/current_data_block.h"
#include "device/data_image.h"
#include "device/date_time_text.h"
#include "device/link_messages.h"
#include "device/number_parsing.h"
#include "device/reply_length.h"
#include "device/scoped_timing.h"
#include "device/utf8_characters.h"

namespace device {

namespace {

// ComboBoxDayWeek's items, Monday first.
constexpr std::array<const char*, 7> kDayTexts = {"Пн.", "Вт.", "Ср.", "Чт.", "Пт.", "Сб.", "Вс."};

// Characters 3 and 6 of a field text separate its three two-digit groups.
constexpr size_t kFirstSeparator = 2;
constexpr size_t kSecondSeparator = 5;
constexpr size_t kFieldLength = 8;

std::string separatorOf(std::string_view fieldText, std::string_view fallback) {
  const auto characters = Utf8Characters(fieldText);
  return std::string(characters.size() > kFirstSeparator ? characters[kFirstSeparator] : fallback);
}

// The three two-digit groups of a mask field (characters 1-2, 4-5, 7-8). A
// leading blank is accepted, a trailing one or an empty group is not; only
// what the mask lets a user type (digits) is taken.
std::optional<std::array<uint8_t, 3>> groupsOf(std::string_view fieldText) {
  const auto characters = Utf8Characters(fieldText);
  if (characters.size() < kFieldLength) return std::nullopt;
  std::array<uint8_t, 3> groups{};
  for (size_t g = 0; g < groups.size(); ++g) {
    std::string text(characters[3 * g]);
    text += characters[3 * g + 1];
    const auto value = ParseInteger(text);
    if (!value || *value < 0 || *value > 99) return std::nullopt;
    groups[g] = static_cast<uint8_t>(*value);
  }
  return groups;
}

// The instrument would roll an impossible date or time over into another one.
// Its year has two digits, 0 to 99 for 2000 to 2099.
bool isCalendarDate(const std::array<uint8_t, 3>& date) {
  const std::chrono::year_month_day calendar{
      std::chrono::year(2000 + date[2]), std::chrono::month(date[1]), std::chrono::day(date[0])};
  return calendar.ok();
}

bool isTimeOfDay(const std::array<uint8_t, 3>& time) {
  return time[0] <= 23 && time[1] <= 59 && time[2] <= 59;
}

std::string replaceSeparators(std::string_view text, std::string_view separatorsFrom) {
  auto characters = Utf8Characters(text);
  const auto from = Utf8Characters(separatorsFrom);
  for (size_t at : {kFirstSeparator, kSecondSeparator}) {
    if (at < characters.size() && at < from.size()) characters[at] = from[at];
  }
  std::string result;
  for (std::string_view c : characters) result += c;
  return result;
}

}  // namespace

PcClockTexts FormatPcClock(int year, int month, int day, int hours, int minutes, int seconds,
                           int dayOfWeek) {
  PcClockTexts texts;
  texts.date = DateText(day, month, year % 1000);
  texts.time = TimeText(hours, minutes, seconds);
  if (dayOfWeek >= 1 && dayOfWeek <= 7) texts.dayOfWeek = kDayTexts[dayOfWeek - 1];
  return texts;
}

ClockForm CopyPcClock(const PcClockTexts& pc, const ClockForm& fields) {
  ClockForm form = fields;
  form.date = replaceSeparators(pc.date, fields.date);
  form.time = replaceSeparators(pc.time, fields.time);
  for (size_t i = 0; i < kDayTexts.size(); ++i) {
    if (pc.dayOfWeek == kDayTexts[i]) form.dayOfWeekIndex = static_cast<int>(i);
  }
  return form;
}

OperationOutcome ReadInstrumentClock(RegisterLink& link, OperationControls& controls,
                                     ClockFields& fields, MessageSink& messages) {
  if (link.busy()) return OperationOutcome::kNotStarted;
  controls.stopMeasurementTimer();
  controls.setButtonEnabled(false);
  const ScopedTiming timing(link.parameters(), kFastTiming);
  if (!StorePortAndCheck(link, controls.connection(), messages)) {
    controls.setButtonEnabled(true);
    return OperationOutcome::kPortError;
  }

  const auto image = DataImage::fromReadReply(
      link.readInputRegisters(kCurrentDataStart, kCurrentDataCount), kCurrentDataCount);
  const auto data = image ? DecodeCurrentData(*image) : std::nullopt;
  // Taken after the exchange: the user may have typed while it waited.
  ClockForm form = fields.clockForm();
  OperationOutcome outcome = OperationOutcome::kDone;
  if (data) {
    const ClockReading& c = data->clock;
    form.date = DateText(c.day, c.month, c.year, separatorOf(form.date, "."));
    form.time = TimeText(c.hours, c.minutes, c.seconds, separatorOf(form.time, ":"));
    form.dayOfWeekIndex = c.dayOfWeek >= 1 && c.dayOfWeek <= 7 ? c.dayOfWeek - 1 : -1;
    fields.showClock(form);
  } else {
    form.date.clear();
    form.time.clear();
    fields.showClock(form);
    messages.error(kNoConnectionText);
    outcome = OperationOutcome::kNoConnection;
  }
  controls.setButtonEnabled(true);
  return outcome;
}

OperationOutcome WriteInstrumentClock(RegisterLink& link, OperationControls& controls,
                                      const ClockFields& fields, MessageSink& messages) {
  if (link.busy()) return OperationOutcome::kNotStarted;
  const WholeWrite whole(link);
  controls.stopMeasurementTimer();

  const ClockForm form = fields.clockForm();
  bool valid = true;
  const auto date = groupsOf(form.date);
  if (!date || !isCalendarDate(*date)) {
    messages.error(kBadDateText);
    valid = false;
  }
  const auto time = groupsOf(form.time);
  if (!time || !isTimeOfDay(*time)) {
    messages.error(kBadTimeText);
    valid = false;
  }
  const auto correction = ParseInteger(form.correction);
  if (!correction || *correction < kMinCorrection || *correction > kMaxCorrection) {
    messages.error(kBadCorrectionText);
    valid = false;
  }

  const ScopedTiming timing(link.parameters(), kStandardTiming);
  if (!StorePortAndCheck(link, controls.connection(), messages)) {
    return OperationOutcome::kPortError;
  }
  if (!valid) return OperationOutcome::kRefused;

  ClockReading clock;
  clock.day = (*date)[0];
  clock.month = (*date)[1];
  clock.year = (*date)[2];
  clock.hours = (*time)[0];
  clock.minutes = (*time)[1];
  clock.seconds = (*time)[2];
  // Nothing selected sends 0, as the list's position + 1.
  clock.dayOfWeek = static_cast<uint8_t>(form.dayOfWeekIndex + 1);
  const auto reply = link.writeMultipleRegisters(
      kClockStart, kClockCount, EncodeClockBlock(clock, static_cast<int8_t>(*correction)));
  if (!IsWriteSuccess(reply)) {
    messages.error(kNoConnectionText);
    return OperationOutcome::kNoConnection;
  }
  messages.confirmation(kClockSetText);
  return OperationOutcome::kDone;
}

}  // namespace device
