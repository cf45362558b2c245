#include "device/calibration_record.h"

#include <gtest/gtest.h>

#include "modbus/result_codes.h"

namespace {

using device::CalibrationRecord;
using device::CoefficientGroup;

const modbus::ExchangeResult kEcho("\x00\x10\x23\x28\x00\x02", 6);

device::IdentificationTexts instrument(const char* serial) {
  return {"ULM5", "1.2", "05.03.09", serial};
}

size_t entriesOf(const CalibrationRecord& record) {
  return record.points().size() + (record.group(CoefficientGroup::kOutputCurrent).read ? 1 : 0) +
         (record.group(CoefficientGroup::kColdJunction).written ? 1 : 0);
}

// A record holds one instrument's work: entries stay while the same serial
// number is found again, and go when another instrument is found.
TEST(CalibrationRecord, KeepsTheEntriesOfOneInstrumentOnly) {
  int ticks = 0;
  CalibrationRecord record([&ticks] { return "t" + std::to_string(++ticks); });
  record.coefficientsRead(CoefficientGroup::kOutputCurrent, {"-1000", "2", "3", "4", "5"});
  record.pointCommandSent(0, 4012, kEcho);
  record.instrumentFound(instrument("123456"));
  EXPECT_EQ(entriesOf(record), 2u) << "made before the first instrument was shown";

  record.coefficientsWritten(CoefficientGroup::kColdJunction, {"1,25"});
  record.pointCommandSent(5, 234, modbus::CodeResult(modbus::kNoAnswer));
  record.instrumentFound(instrument("123456"));
  ASSERT_EQ(entriesOf(record), 4u);
  EXPECT_EQ(record.group(CoefficientGroup::kOutputCurrent).read->texts[0], "-1000");
  EXPECT_EQ(record.group(CoefficientGroup::kOutputCurrent).read->time, "t1");
  EXPECT_EQ(record.group(CoefficientGroup::kColdJunction).written->texts,
            std::vector<std::string>{"1,25"});
  EXPECT_EQ(record.points()[1].point, 5);
  EXPECT_EQ(record.points()[1].value, 234);
  EXPECT_EQ(record.points()[1].time, "t4");
  EXPECT_EQ(device::PointCommandOutcomeText(record.points()[0].outcome),
            "Калибровка точки завершена");
  EXPECT_EQ(device::PointCommandOutcomeText(record.points()[1].outcome),
            "Ошибка калибровки: прибор не ответил (команда могла быть выполнена)");

  record.instrumentFound(instrument("654321"));
  EXPECT_EQ(entriesOf(record), 0u);
  EXPECT_EQ(record.instrument()->serial, "654321");
}

TEST(CalibrationRecord, ValuesWithTheirUnits) {
  const struct {
    int point;
    int16_t value;
    const char* separator;
    const char* text;
  } kCases[] = {
      {0, 4012, ",", "4012 мкА"}, {4, 21000, ".", "21000 мкА"}, {5, 234, ",", "23,4 °C"},
      {5, 200, ".", "20.0 °C"},   {5, 300, ",", "30,0 °C"},     {6, 0, ",", ""},
      {25, 0, ".", ""},
  };
  for (const auto& c : kCases)
    EXPECT_EQ(device::PointValueText(c.point, c.value, c.separator), c.text) << c.point;
}

}  // namespace
