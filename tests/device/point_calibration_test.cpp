#include "device/point_calibration.h"

#include <gtest/gtest.h>

#include "event_log.h"
#include "scripted_link.h"

namespace device_test {
namespace {

using device::OperationOutcome;

class PointForm : public device::CalibrationPointFields {
 public:
  device::CalibrationPointForm form;
  device::CalibrationPointForm calibrationPointForm() const override { return form; }
};

class PointCalibrationTest : public ::testing::Test {
 protected:
  OperationOutcome calibrate(int point, const char* value, const char* separator = ",") {
    fields_.form = {point, value};
    return device::CalibratePoint(link_, controls_, fields_, sink_, separator);
  }

  EventLog log_;
  ScriptedLink link_{log_};
  RecordingControls controls_{log_};
  PointForm fields_;
  RecordingSink sink_{log_};
};

TEST_F(PointCalibrationTest, SendsThePointAndItsValueWithTheCalibrationSet) {
  controls_.selection = {1, 5};
  link_.results = {WriteReply(9000, 2)};
  EXPECT_EQ(calibrate(0, "4012"), OperationOutcome::kDone);
  // The button is left alone: no "disable" or "enable".
  EXPECT_EQ(log_, (EventLog{"stop timer", "port check COM2", "write HR 9000+2 at 5 4500/4000/1000",
                            "confirm Калибровка точки завершена"}));
  EXPECT_EQ(link_.lastWritten, std::string("\x00\x00\xAC\x0F", 4));
  EXPECT_EQ(link_.parameters().timing.responseDelay, device::kCalibrationTiming.responseDelay)
      << "the calibration stores its set in the record";
}

TEST_F(PointCalibrationTest, ValueRulesOfEachPoint) {
  struct Case {
    int point;
    const char* text;
    const char* separator;
    const char* payload;  // 4 bytes sent, or nullptr when refused
    const char* message;  // the refusal
  };
  const char* bad = "Неверное значение калибровки";
  const char* coldRange = "Значение должно быть от 20C до 30C";
  const Case cases[] = {
      {0, " 3000", ",", "\x00\x00\xB8\x0B", nullptr},
      {0, "+5000", ",", "\x00\x00\x88\x13", nullptr},
      {0, "2999", ",", nullptr, "Значение должно быть от 3000мкА до 5000мкА"},
      {0, "-4000", ",", nullptr, "Значение должно быть от 3000мкА до 5000мкА"},
      {1, "7000", ",", "\x01\x00\x58\x1B", nullptr},
      {1, "9000", ",", "\x01\x00\x28\x23", nullptr},
      {1, "9001", ",", nullptr, "Значение должно быть от 7000мкА до 9000мкА"},
      {1, "8000.5", ".", nullptr, bad},
      {1, "8000 ", ",", nullptr, bad},
      {1, "", ",", nullptr, bad},
      {2, "10999", ",", nullptr, "Значение должно быть от 11000мкА до 13000мкА"},
      {2, "13000", ",", "\x02\x00\xC8\x32", nullptr},
      {3, "17001", ",", nullptr, "Значение должно быть от 15000мкА до 17000мкА"},
      {3, "15000", ",", "\x03\x00\x98\x3A", nullptr},
      {4, "18999", ",", nullptr, "Значение должно быть от 19000мкА до 21000мкА"},
      {4, "21000", ",", "\x04\x00\x08\x52", nullptr},
      {4, "99999999999", ",", nullptr, bad},
      // Tenths of a degree, either separator, halves to even.
      {5, "23,4", ",", "\x05\x00\xEA\x00", nullptr},
      {5, "23.4", ",", "\x05\x00\xEA\x00", nullptr},
      {5, " 23,4 ", ".", "\x05\x00\xEA\x00", nullptr},
      {5, "20", ",", "\x05\x00\xC8\x00", nullptr},
      {5, "30", ",", "\x05\x00\x2C\x01", nullptr},
      {5, "20.25", ",", "\x05\x00\xCA\x00", nullptr},
      {5, "20.15", ",", "\x05\x00\xCA\x00", nullptr},
      {5, "20.05", ",", "\x05\x00\xC8\x00", nullptr},
      {5, "2.5e1", ",", "\x05\x00\xFA\x00", nullptr},
      {5, "19.9", ",", nullptr, coldRange},
      {5, "30.1", ",", nullptr, coldRange},
      {5, "-25", ",", nullptr, coldRange},
      {5, "", ",", nullptr, bad},
      {5, "25 C", ",", nullptr, bad},
      {5, "2,5,1", ",", nullptr, bad},
      // The entry field is not read for these points: the value word is 0.
      {6, "not a number", ",", "\x06\x00\x00\x00", nullptr},
      {11, "4012", ",", "\x0B\x00\x00\x00", nullptr},
      {25, "", ",", "\x19\x00\x00\x00", nullptr},
  };
  for (const Case& c : cases) {
    log_.clear();
    link_.written.clear();
    link_.results = {WriteReply(9000, 2)};
    const OperationOutcome outcome = calibrate(c.point, c.text, c.separator);
    const std::string what = std::to_string(c.point) + " \"" + c.text + '"';
    if (c.payload) {
      EXPECT_EQ(outcome, OperationOutcome::kDone) << what;
      EXPECT_EQ(link_.written, (std::vector<std::string>{std::string(c.payload, 4)})) << what;
    } else {
      EXPECT_EQ(outcome, OperationOutcome::kRefused) << what;
      EXPECT_EQ(log_,
                (EventLog{"stop timer", "port check COM1", std::string("error ") + c.message}))
          << what;
    }
  }
}

TEST_F(PointCalibrationTest, AnUnconfirmedCommandIsACalibrationError) {
  for (const auto& reply : {ResultCode(0x03), WriteReply(9000, 2).substr(0, 5)}) {
    log_.clear();
    link_.results = {reply};
    EXPECT_EQ(calibrate(12, ""), OperationOutcome::kNoConnection);
    EXPECT_EQ(log_.back(), "error Ошибка калибровки");
  }
}

TEST_F(PointCalibrationTest, NothingIsSentWhenThePortCannotBeOpened) {
  link_.portCheckPasses = false;
  EXPECT_EQ(calibrate(0, "4012"), OperationOutcome::kPortError);
  EXPECT_EQ(log_, (EventLog{"stop timer", "port check COM1", "error Не могу открыть порт"}));
}

TEST_F(PointCalibrationTest, DoesNotStartWhileItsCommandHoldsTheLink) {
  link_.results = {WriteReply(9000, 2)};
  OperationOutcome second = OperationOutcome::kDone;
  link_.duringRequest = [&] {
    second = device::CalibratePoint(link_, controls_, fields_, sink_, ",");
  };
  EXPECT_EQ(calibrate(7, ""), OperationOutcome::kDone);
  EXPECT_EQ(second, OperationOutcome::kNotStarted);
  EXPECT_EQ(link_.written.size(), 1u);
}

}  // namespace
}  // namespace device_test
