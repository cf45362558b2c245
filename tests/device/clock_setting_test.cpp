#include "device/clock_setting.h"

#include <gtest/gtest.h>

#include "device/data_image.h"
#include "event_log.h"
#include "scripted_link.h"

namespace device_test {
namespace {

using device::ClockForm;
using device::OperationOutcome;

class ClockFormFields : public device::ClockFields {
 public:
  explicit ClockFormFields(EventLog& log) : log_(log) {}
  ClockForm form{"  .  .  ", "  :  :  ", 0, "0"};
  ClockForm clockForm() const override { return form; }
  void showClock(const ClockForm& shown) override {
    form = shown;
    log_.push_back("show '" + shown.date + "' '" + shown.time + "' " +
                   std::to_string(shown.dayOfWeekIndex));
  }

 private:
  EventLog& log_;
};

// IR 0..12 with the clock at 23:59:07 on Sunday 31.12.(20)26.
std::string currentData(uint8_t dayOfWeek = 7) {
  device::DataImage image(26);
  const uint8_t clock[] = {7, 59, 23, dayOfWeek, 31, 12, 26};
  for (size_t i = 0; i < sizeof clock; ++i) image.setU8(i, clock[i]);
  image.setF32(22, 12.5f);
  return image.bytes();
}

class ClockSettingTest : public ::testing::Test {
 protected:
  OperationOutcome read() { return device::ReadInstrumentClock(link_, controls_, fields_, sink_); }
  OperationOutcome write() {
    return device::WriteInstrumentClock(link_, controls_, fields_, sink_);
  }

  EventLog log_;
  ScriptedLink link_{log_};
  RecordingControls controls_{log_};
  ClockFormFields fields_{log_};
  RecordingSink sink_{log_};
};

TEST_F(ClockSettingTest, ReadFillsTheFieldsWithEachFieldsOwnSeparator) {
  fields_.form = {"  .  .  ", "  \u2236  \u2236  ", 3, "5"};  // a multi-byte time separator
  link_.results = {ReadReply(currentData(), 0x04), ReadReply(currentData(0), 0x04)};

  EXPECT_EQ(read(), OperationOutcome::kDone);
  EXPECT_EQ(log_,
            (EventLog{"stop timer", "disable", "port check COM1", "read IR 0+13 at 2 300/50/50",
                      "show '31.12.26' '23\u223659\u223607' 6", "enable"}));
  EXPECT_EQ(fields_.form.correction, "5") << "the correction is not read";
  EXPECT_EQ(link_.parameters().timing.responseDelay, device::kStandardTiming.responseDelay)
      << "the fast set is passed, not stored";

  // A day of week outside 1..7 selects nothing.
  EXPECT_EQ(read(), OperationOutcome::kDone);
  EXPECT_EQ(fields_.form.dayOfWeekIndex, -1);
}

TEST_F(ClockSettingTest, FailedReadEmptiesBothClockFields) {
  fields_.form = {"01.02.03", "04:05:06", 2, "1"};
  link_.results = {ResultCode(0x02)};
  EXPECT_EQ(read(), OperationOutcome::kNoConnection);
  EXPECT_EQ(log_,
            (EventLog{"stop timer", "disable", "port check COM1", "read IR 0+13 at 2 300/50/50",
                      "show '' '' 2", "error Нет связи с прибором", "enable"}));
}

TEST_F(ClockSettingTest, WriteSendsTheClockWithItsCorrection) {
  fields_.form = {"29.02.28", " 9:05:00", -1, "-9"};
  link_.parameters().timing = device::kFastTiming;
  link_.results = {WriteReply(4000, 4)};

  EXPECT_EQ(write(), OperationOutcome::kDone);
  EXPECT_EQ(log_, (EventLog{"stop timer", "port check COM1", "write HR 4000+4 at 2 2500/2000/500",
                            "confirm Дата и время установлены"}));
  // The leap day of 2028; nothing selected sends day of week 0.
  EXPECT_EQ(link_.written.at(0), std::string("\x00\x05\x09\x00\x1D\x02\x1C\xF7", 8));
  EXPECT_EQ(link_.parameters().timing.responseDelay, device::kFastTiming.responseDelay);

  log_.clear();
  fields_.form = {"07.12.26", "10:11:12", 6, "9"};
  link_.results = {ResultCode(0x16)};
  EXPECT_EQ(write(), OperationOutcome::kNoConnection);
  EXPECT_EQ(link_.written.at(1), std::string("\x0C\x0B\x0A\x07\x07\x0C\x1A\x09", 8));
  EXPECT_EQ(log_.back(), "error Нет связи с прибором");
}

TEST_F(ClockSettingTest, WriteReportsEveryBadFieldBeforeThePortCheck) {
  struct Case {
    ClockForm form;
    EventLog messages;
  };
  const Case cases[] = {
      {{"  .  .  ", "  :  :  ", 0, ""},
       {"error Неверный ввод даты", "error Неверный ввод времени",
        "error Неверный ввод значения коррекции"}},
      {{"1 .12.26", "12:00:00", 0, "0"}, {"error Неверный ввод даты"}},
      {{"", "12:00:00", 0, "0"}, {"error Неверный ввод даты"}},
      {{"01.12.26", "12:00:0 ", 0, "0"}, {"error Неверный ввод времени"}},
      {{"01.12.26", "12:00:00", 0, "10"}, {"error Неверный ввод значения коррекции"}},
      {{"01.12.26", "12:00:00", 0, "-10"}, {"error Неверный ввод значения коррекции"}},
  };
  for (const Case& c : cases) {
    log_.clear();
    fields_.form = c.form;
    EXPECT_EQ(write(), OperationOutcome::kRefused);
    EventLog expected{"stop timer"};
    expected.insert(expected.end(), c.messages.begin(), c.messages.end());
    expected.push_back("port check COM1");
    EXPECT_EQ(log_, expected);
  }
  EXPECT_TRUE(link_.written.empty());

  // A bad port is reported after the field messages.
  log_.clear();
  fields_.form = {"01.12.26", "12:00:00", 0, "x"};
  link_.portCheckPasses = false;
  EXPECT_EQ(write(), OperationOutcome::kPortError);
  EXPECT_EQ(log_, (EventLog{"stop timer", "error Неверный ввод значения коррекции",
                            "port check COM1", "error Не могу открыть порт"}));
}

TEST_F(ClockSettingTest, ADateOrTimeTheCalendarOrClockDoesNotHaveIsRefused) {
  const struct {
    const char* date;
    const char* time;
    bool dateValid;
    bool timeValid;
  } cases[] = {
      {"45.13.27", "25:61:99", false, false}, {"00.01.26", "00:00:00", false, true},
      {"32.01.26", "23:59:59", false, true},  {"31.04.26", "12:00:00", false, true},
      {"30.04.26", "12:00:00", true, true},   {"01.00.26", "12:00:00", false, true},
      {"01.13.26", "12:00:00", false, true},  {"29.02.26", "12:00:00", false, true},
      {"29.02.28", "12:00:00", true, true},  // 2028 is a leap year
      {"29.02.00", "12:00:00", true, true},  // so is 2000
      {"28.02.99", "12:00:00", true, true},   {"29.02.99", "12:00:00", false, true},
      {"31.12.99", "24:00:00", true, false},  {"31.12.99", "23:60:00", true, false},
      {"31.12.99", "23:59:60", true, false},  {"31.12.99", " 0: 0: 0", true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.date) + " " + c.time);
    log_.clear();
    link_.written.clear();
    link_.results = {WriteReply(4000, 4)};
    fields_.form = {c.date, c.time, 0, "0"};
    const auto outcome = write();
    EventLog expected{"stop timer"};
    if (!c.dateValid) expected.push_back("error Неверный ввод даты");
    if (!c.timeValid) expected.push_back("error Неверный ввод времени");
    expected.push_back("port check COM1");
    if (c.dateValid && c.timeValid) {
      expected.push_back("write HR 4000+4 at 2 2500/2000/500");
      expected.push_back("confirm Дата и время установлены");
      EXPECT_EQ(outcome, OperationOutcome::kDone);
    } else {
      EXPECT_EQ(outcome, OperationOutcome::kRefused);
      EXPECT_TRUE(link_.written.empty()) << "nothing written";
    }
    EXPECT_EQ(log_, expected);
  }
}

TEST(PcClock, TwoDigitPartsTheYearModuloThousandAndTheDayText) {
  const auto texts = device::FormatPcClock(2026, 12, 7, 9, 5, 3, 1);
  EXPECT_EQ(texts.date, "07.12.26");
  EXPECT_EQ(texts.time, "09:05:03");
  EXPECT_EQ(texts.dayOfWeek, "Пн.");
  EXPECT_EQ(device::FormatPcClock(2100, 1, 3, 0, 0, 0, 7).date, "03.01.100");
}

TEST(PcClock, CopyKeepsEachFieldsSeparatorsAndSelectsTheDay) {
  const device::PcClockTexts pc{"07.12.26", "09:05:03", "Вс."};
  const ClockForm fields{"__/__/__", "  .  .  ", 2, "4"};
  EXPECT_EQ(device::CopyPcClock(pc, fields), (ClockForm{"07/12/26", "09.05.03", 6, "4"}));
  // An unknown day text leaves the selection.
  EXPECT_EQ(device::CopyPcClock({"07.12.26", "09:05:03", ""}, fields).dayOfWeekIndex, 2);
}

}  // namespace
}  // namespace device_test
