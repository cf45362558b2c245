#include "device/measurement_poll.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "device/data_image.h"
#include "event_log.h"
#include "scripted_link.h"

namespace device_test {
namespace {

using device::PollOutcome;

class RecordingMeasurementView : public device::MeasurementView {
 public:
  explicit RecordingMeasurementView(EventLog& log) : log_(log) {}
  device::MeasuredTexts values;
  device::StateIndicators states;
  void showValues(const device::MeasuredTexts& texts) override {
    values = texts;
    log_.push_back("values '" + texts.dateTime + "' " + texts.parameter + " " + texts.physical +
                   " " + texts.coldJunction);
  }
  void showStates(const device::StateIndicators& shown) override {
    states = shown;
    log_.push_back("states " + shown.errorCode);
  }

 private:
  EventLog& log_;
};

struct Sample {
  uint16_t faultWord = 0;
  uint8_t setpoints = 0;
  uint8_t relays = 0;
  float coldJunction = 21.96f;
  float physical = 1234.5678f;
  float parameter = 12.0f;
};

std::string currentData(const Sample& s) {
  device::DataImage image(26);
  const uint8_t clock[] = {59, 7, 9, 1, 5, 3, 9};  // 09:07:59 on 05.03.(20)09
  for (size_t i = 0; i < sizeof clock; ++i) image.setU8(i, clock[i]);
  image.setU16(8, s.faultWord);
  image.setU8(12, s.setpoints);
  image.setU8(13, s.relays);
  image.setF32(14, s.coldJunction);
  image.setF32(18, s.physical);
  image.setF32(22, s.parameter);
  return image.bytes();
}

device::CurrentData decoded(const Sample& s) {
  return *device::DecodeCurrentData(*device::DataImage::fromReadReply(
      ReadReply(currentData(s), 0x04), device::kCurrentDataCount));
}

TEST(MeasurementTexts, ValuesInTheirDecimalsWithTheLocalesSeparator) {
  Sample s;
  EXPECT_EQ(device::FormatMeasuredTexts(decoded(s), ","),
            (device::MeasuredTexts{"05.03.09 09:07", "12,000", "1234,570", "22,0"}));
  EXPECT_EQ(device::FormatMeasuredTexts(decoded(s), ".").physical, "1234.570");

  s.physical = std::numeric_limits<float>::quiet_NaN();
  s.parameter = -std::numeric_limits<float>::infinity();
  s.coldJunction = 12345678.0f;
  const auto texts = device::FormatMeasuredTexts(decoded(s), ",");
  EXPECT_EQ(texts.physical, "NAN");
  EXPECT_EQ(texts.parameter, "-INF");
  EXPECT_EQ(texts.coldJunction, "1,23457E+07");
}

TEST(MeasurementTexts, FaultWordSetpointsAndRelays) {
  struct Case {
    uint16_t word;
    const char* code;
    std::array<bool, 11> faults;
  };
  const Case cases[] = {
      {0x8000, "Код ошибки: -32768", {}},
      {0x0405,
       "Код ошибки: 1029",
       {true, false, true, false, false, false, false, false, false, false, true}},
      {0x07FF,
       "Код ошибки: 2047",
       {true, true, true, true, true, true, true, true, true, true, true}},
      {0xF800, "Код ошибки: -2048", {}},
  };
  for (const Case& c : cases) {
    Sample s;
    s.faultWord = c.word;
    const auto states = device::FormatStateIndicators(decoded(s));
    EXPECT_EQ(states.errorCode, c.code);
    EXPECT_EQ(states.faults, c.faults) << c.code;
  }

  Sample s;
  s.setpoints = 0xF5;  // bits above 3 belong to no setpoint
  s.relays = 0x06;
  const auto states = device::FormatStateIndicators(decoded(s));
  EXPECT_EQ(states.setpoints, (std::array<bool, 4>{true, false, true, false}));
  EXPECT_EQ(states.relays,
            (std::array<std::string, 4>{"Разомкнуто", "Замкнуто", "Замкнуто", "Разомкнуто"}));
}

class MeasurementPollTest : public ::testing::Test {
 protected:
  EventLog log_;
  ScriptedLink link_{log_};
  RecordingMeasurementView view_{log_};
  RecordingSink sink_{log_};
  device::MeasurementPoll poll_{link_, view_};
};

TEST_F(MeasurementPollTest, StartStoresTheFastSetAndEachTickUsesTheRecordAsItIs) {
  link_.parameters().timing = device::kCalibrationTiming;
  ASSERT_TRUE(poll_.start({1, 3}, sink_));
  EXPECT_EQ(log_, (EventLog{"port check COM2"}));

  link_.results = {ReadReply(currentData({}), 0x04)};
  EXPECT_EQ(poll_.poll(","), PollOutcome::kShown);
  // Another operation changed the record since: the next tick takes it as it is.
  link_.parameters().baudIndex = 5;
  link_.parameters().timing = device::kArchiveTiming;
  link_.results = {ResultCode(0x02)};
  EXPECT_EQ(poll_.poll(","), PollOutcome::kNoAnswer);
  EXPECT_EQ(log_, (EventLog{"port check COM2", "read IR 0+13 at 3 300/50/50",
                            "values '05.03.09 09:07' 12,000 1234,570 22,0", "states Код ошибки: 0",
                            "read IR 0+13 at 5 3000/2500/500", "values 'Прибор не отвечает'   "}));
}

TEST_F(MeasurementPollTest, FailedPortCheckDoesNotStart) {
  link_.portCheckPasses = false;
  EXPECT_FALSE(poll_.start({0, 6}, sink_));
  EXPECT_EQ(log_, (EventLog{"port check COM1", "error Не могу открыть порт"}));
}

TEST_F(MeasurementPollTest, StopDuringTheExchangeKeepsItsOutcomeOutOfTheEmptiedFields) {
  link_.results = {ReadReply(currentData({}), 0x04)};
  link_.duringRequest = [&] {
    poll_.stop();
    // A tick that finds the link busy is held back.
    EXPECT_EQ(poll_.poll(","), PollOutcome::kHeldBack);
  };
  EXPECT_EQ(poll_.poll(","), PollOutcome::kSkipped);
  EXPECT_EQ(log_, (EventLog{"read IR 0+13 at 0 2500/2000/500", "values ''   "}));
}

}  // namespace
}  // namespace device_test
