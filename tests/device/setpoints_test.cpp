#include "device/setpoints.h"

#include <gtest/gtest.h>

#include <limits>

#include "device/data_image.h"
#include "event_log.h"
#include "scripted_link.h"

namespace device_test {
namespace {

using device::kNoMask;
using device::OperationOutcome;
using device::SetpointsForm;
using device::ValueFieldText;

TEST(ScaledValueText, RawCountsShowInFourPositionsWithThePointOfTheCode) {
  struct Case {
    float raw;
    int code;
    ValueFieldText shown;
  };
  const Case cases[] = {
      {123, 0, {"0123", 0}},
      {123, 1, {"012.3", 1}},
      {123, 2, {"01.23", 2}},
      {123, 3, {"0.123", 3}},
      {-12, 1, {"-01.2", 1}},
      {-999, 0, {"-999", 0}},
      {9999, 3, {"9.999", 3}},
      {12.5f, 0, {"0012", 0}},  // halves to the even neighbour
      {13.5f, 0, {"0014", 0}},
      {-0.25f, 1, {"-00.0", 1}},
      // What four positions cannot hold shows in full, unmasked.
      {-1000, 1, {"-100.0", kNoMask}},
      {12345, 2, {"123.45", kNoMask}},
      {7, 3, {"0.007", 3}},
      // A code without a list item has no scale: the count without a point.
      {123, 4, {"0123", kNoMask}},
      {std::numeric_limits<float>::quiet_NaN(), 1, {"NAN", kNoMask}},
      {-std::numeric_limits<float>::infinity(), 1, {"-INF", kNoMask}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(device::RawCountText(c.raw, c.code), c.shown) << c.raw << " d=" << c.code;
  }
}

TEST(ScaledValueText, AnotherCodeKeepsTheCharactersAndMovesThePoint) {
  struct Case {
    const char* text;
    int code;
    ValueFieldText relaid;
  };
  const Case cases[] = {
      {"012.3", 2, {"01.23", 2}},         {"012.3", 0, {"0123", 0}},
      {"0.123", 1, {"012.3", 1}},         {"-01.2", 3, {"-.012", 3}},
      {"012.3", -1, {"0123", kNoMask}},   {" 1 . ", 2, {" 1.  ", 2}},
      {"1234.5", 2, {"123.45", kNoMask}}, {"0123", 1, {"012.3", 1}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(device::RelaidValueText(c.text, c.code), c.relaid) << c.text << " d=" << c.code;
  }
}

TEST(ScaledValueText, TypedTextsGiveRawCountsWithEitherSeparator) {
  EXPECT_EQ(device::RawCountOf("012.5", 1, ","), 125.0f);
  EXPECT_EQ(device::RawCountOf("012,5", 1, "."), 125.0f);
  EXPECT_EQ(device::RawCountOf("01.23", 2, ","), 123.0f);
  EXPECT_EQ(device::RawCountOf("-01.2", 1, "."), -12.0f);
  EXPECT_EQ(device::RawCountOf(" 12 ", 0, "."), 12.0f);
  EXPECT_EQ(device::RawCountOf("-100.0", 1, "."), -1000.0f);
  for (const char* bad : {"    ", "   . ", "-   ", "- . ", "1 2.3", "abc"}) {
    EXPECT_FALSE(device::RawCountOf(bad, 1, ",")) << bad;
  }
  EXPECT_FALSE(device::RawCountOf("0123", 4, ",")) << "no scale for code 4";
  EXPECT_FALSE(device::RawCountOf("1e38", 3, ",")) << "beyond a single";
}

class SetpointsFieldsLog : public device::SetpointsFields {
 public:
  explicit SetpointsFieldsLog(EventLog& log) : log_(log) {}
  SetpointsForm form;
  std::array<device::SetpointShown, 4> shown;

  SetpointsForm setpointsForm() const override { return form; }
  void selectDecimalPoint(int code) override { log_.push_back("point " + std::to_string(code)); }
  void showRange(int index, const ValueFieldText& text) override {
    log_.push_back("range " + std::to_string(index) + " " + text.text);
  }
  void showSetpoint(int index, const device::SetpointShown& setpoint) override {
    shown[static_cast<size_t>(index)] = setpoint;
    log_.push_back("setpoint " + std::to_string(index) + " " + setpoint.value.text + " " +
                   setpoint.zone.text);
  }

 private:
  EventLog& log_;
};

std::string scaleData(uint8_t kept, uint8_t code) {
  device::DataImage image(20);
  image.setU8(0, kept);
  image.setU8(1, code);
  image.setU16(2, 0x0A02);  // register 3: the filter and archive periods
  image.setF32(4, 123);
  image.setF32(8, 9999);
  image.setF32(12, -12);
  image.setF32(16, 0);
  return image.bytes();
}

std::string setpointData(float value, float zone, uint8_t flags) {
  device::DataImage image(20);
  image.setF32(0, value);
  image.setF32(4, zone);
  image.setU8(8, flags);
  image.setU8(9, 0x77);
  image.setF32(10, -value);
  image.setF32(14, zone);
  image.setU8(18, 0x00);
  return image.bytes();
}

class SetpointsTest : public ::testing::Test {
 protected:
  OperationOutcome read() {
    return device::ReadSetpoints(link_, controls_, fields_, sink_, keptByte_);
  }
  OperationOutcome write(std::string_view separator = ",") {
    return device::WriteSetpoints(link_, controls_, fields_, sink_, keptByte_, separator);
  }

  // The form a read of scaleData(.., 1) and setpointData(55, 2, ..) leaves.
  static SetpointsForm readForm() {
    SetpointsForm form;
    form.decimalPoint = 1;
    form.ranges = {"012.3", "999.9", "-01.2", "000.0"};
    for (int n = 0; n < 4; ++n) {
      form.setpoints[static_cast<size_t>(n)] = {
          n % 2 == 0, n % 2 == 0 ? "005.5" : "-05.5", "000.2", {1, 0, 1, 0}};
    }
    return form;
  }

  EventLog log_;
  ScriptedLink link_{log_};
  RecordingControls controls_{log_};
  SetpointsFieldsLog fields_{log_};
  RecordingSink sink_{log_};
  uint8_t keptByte_ = 0;
};

TEST_F(SetpointsTest, ReadShowsEachBlockAsItArrivesAndKeepsTheByteOfRegister2) {
  link_.results = {ReadReply(scaleData(0xA5, 1)), ReadReply(setpointData(55, 2, 0x1F)),
                   ReadReply(setpointData(-7, 0, 0xE0))};
  EXPECT_EQ(read(), OperationOutcome::kDone);
  EXPECT_EQ(log_,
            (EventLog{"stop timer", "disable", "port check COM1", "read HR 2+10 at 2 2500/2000/500",
                      "point 1", "range 0 012.3", "range 1 999.9", "range 2 -01.2", "range 3 000.0",
                      "read HR 13+10 at 2 2500/2000/500", "setpoint 0 005.5 000.2",
                      "setpoint 1 -05.5 000.2", "read HR 23+10 at 2 2500/2000/500",
                      "setpoint 2 -00.7 000.0", "setpoint 3 000.7 000.0", "enable"}));
  EXPECT_EQ(keptByte_, 0xA5);
  // Flags 1Fh: the second item of every list and the box checked.
  EXPECT_TRUE(fields_.shown[0].enabled);
  EXPECT_EQ(fields_.shown[0].lists, (std::array<int, 4>{1, 1, 1, 1}));
  EXPECT_FALSE(fields_.shown[1].enabled);
  // Bits 5 to 7 belong to no control.
  EXPECT_FALSE(fields_.shown[2].enabled);
  EXPECT_EQ(fields_.shown[2].lists, (std::array<int, 4>{0, 0, 0, 0}));
}

TEST_F(SetpointsTest, AFailedReadStopsTheSequenceWithOneMessage) {
  for (size_t failing = 0; failing < 3; ++failing) {
    log_.clear();
    link_.results = {ReadReply(scaleData(1, 1)), ReadReply(setpointData(1, 1, 0)),
                     ReadReply(setpointData(1, 1, 0))};
    link_.results[failing] = ResultCode(0x02);
    EXPECT_EQ(read(), OperationOutcome::kNoConnection);
    EXPECT_EQ(std::count(log_.begin(), log_.end(), "error Нет связи с прибором"), 1);
    EXPECT_EQ(std::count_if(log_.begin(), log_.end(),
                            [](const std::string& e) { return e.starts_with("read"); }),
              static_cast<long>(failing) + 1);
    EXPECT_EQ(std::count_if(log_.begin(), log_.end(),
                            [](const std::string& e) { return e.starts_with("setpoint"); }),
              2 * static_cast<long>(failing == 0 ? 0 : failing - 1));
  }
}

TEST_F(SetpointsTest, ACodeWithoutAListItemShowsTheCountsUnscaledAndRefusesToWrite) {
  link_.results = {ReadReply(scaleData(0, 7)), ReadReply(setpointData(55, 2, 0)),
                   ReadReply(setpointData(55, 2, 0))};
  EXPECT_EQ(read(), OperationOutcome::kDone);
  EXPECT_EQ(log_.at(4), "point -1");
  EXPECT_EQ(log_.at(5), "range 0 0123");

  log_.clear();
  fields_.form = readForm();
  fields_.form.decimalPoint = -1;
  EXPECT_EQ(write(), OperationOutcome::kRefused);
  EXPECT_EQ(log_, (EventLog{"stop timer", "disable", "port check COM1",
                            "error Неверное положение запятой", "enable"}));
}

TEST_F(SetpointsTest, WriteSendsTheFourBlocksByteForByte) {
  keptByte_ = 0xA5;
  fields_.form = readForm();
  fields_.form.setpoints[3].lists = {0, 1, 0, 1};
  link_.results = {WriteReply(2, 1), WriteReply(4, 8), WriteReply(13, 10), WriteReply(23, 10)};

  EXPECT_EQ(write("."), OperationOutcome::kDone);
  EXPECT_EQ(
      log_,
      (EventLog{"stop timer", "disable", "port check COM1", "write HR 2+1 at 2 2500/2000/500",
                "write HR 4+8 at 2 2500/2000/500", "write HR 13+10 at 2 2500/2000/500",
                "write HR 23+10 at 2 2500/2000/500", "confirm Настройки записаны", "enable"}));
  device::DataImage ranges(16);
  ranges.setF32(0, 123);
  ranges.setF32(4, 9999);
  ranges.setF32(8, -12);
  ranges.setF32(12, 0);
  const auto record = [](float value, float zone, uint8_t flags) {
    device::DataImage r(10);
    r.setF32(0, value);
    r.setF32(4, zone);
    r.setU8(8, flags);
    return r.bytes();
  };
  EXPECT_EQ(link_.written, (std::vector<std::string>{std::string("\xA5\x01", 2), ranges.bytes(),
                                                     record(55, 2, 0x15) + record(-55, 2, 0x05),
                                                     record(55, 2, 0x15) + record(-55, 2, 0x0A)}));
}

TEST_F(SetpointsTest, WriteBeforeAnyReadSendsAZeroKeptByteAndAMovedPointKeepsTheCounts) {
  // 012.3 under d = 1, changed to d = 2, shows 01.23 and still writes 123.
  fields_.form = readForm();
  fields_.form.decimalPoint = 2;
  fields_.form.ranges[0] = device::RelaidValueText("012.3", 2).text;
  link_.results = {WriteReply(2, 1), ResultCode(0x02)};
  EXPECT_EQ(write(), OperationOutcome::kNoConnection);
  EXPECT_EQ(link_.written.at(0), std::string("\x00\x02", 2));
  device::DataImage sent(16);
  sent.setF32(0, 123);
  EXPECT_EQ(link_.written.at(1).substr(0, 4), sent.bytes().substr(0, 4));
  EXPECT_EQ(link_.written.size(), 2u) << "the sequence stops at the failed write";
  EXPECT_EQ(log_.at(log_.size() - 2),
            "error Нет связи с прибором\nЗаписано: положение запятой\n"
            "Отправлено, не подтверждено: диапазоны\nНе записано: уставки 1 и 2, уставки 3 и 4");
}

TEST_F(SetpointsTest, EachBadFieldHasItsMessageAndNothingIsWritten) {
  struct Case {
    void (*spoil)(SetpointsForm&);
    const char* message;
  };
  const Case cases[] = {
      {[](SetpointsForm& f) { f.ranges[0] = "   . "; }, "Начало преобразования введено неверно"},
      {[](SetpointsForm& f) { f.ranges[1] = "-  . "; }, "Конец преобразования введено неверно"},
      {[](SetpointsForm& f) { f.ranges[2] = "1 2.3"; }, "Начало барграфа введено неверно"},
      {[](SetpointsForm& f) { f.ranges[3] = ""; }, "Конец барграфа введен неверно"},
      {[](SetpointsForm& f) { f.setpoints[0].value = "NAN"; },
       "Значение уставки 1 введено неверно"},
      {[](SetpointsForm& f) { f.setpoints[3].value = "-"; }, "Значение уставки 4 введено неверно"},
      {[](SetpointsForm& f) { f.setpoints[1].zone = "x"; },
       "Значение зоны возврата 2 введено неверно"},
      // Values are checked before zones.
      {[](SetpointsForm& f) { f.setpoints[0].zone = f.setpoints[2].value = ""; },
       "Значение уставки 3 введено неверно"},
  };
  for (const Case& c : cases) {
    log_.clear();
    fields_.form = readForm();
    c.spoil(fields_.form);
    EXPECT_EQ(write(), OperationOutcome::kRefused) << c.message;
    EXPECT_EQ(log_.at(3), std::string("error ") + c.message);
  }
  EXPECT_TRUE(link_.written.empty());
}

}  // namespace
}  // namespace device_test
