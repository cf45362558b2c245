#include "device/discovery.h"

#include <gtest/gtest.h>

#include "device/data_image.h"
#include "device/link_parameters.h"
#include "event_log.h"
#include "scripted_link.h"

namespace device_test {
namespace {

using device::DiscoveryOutcome;

std::string identificationData(uint8_t typeCode = 7) {
  device::DataImage image(12);
  image.setU8(0, 5);
  image.setU8(1, 3);
  image.setU8(2, 9);
  image.setI32(4, 123456);
  image.setI16(8, 12);
  image.setU8(10, typeCode);
  return image.bytes();
}

std::string readAt(int baudIndex) {
  return "read HR 120+6 at " + std::to_string(baudIndex) + " 2500/2000/500";
}

class DiscoveryTest : public ::testing::Test {
 protected:
  DiscoveryOutcome run() { return device::RunDiscovery(link_, view_, sink_); }

  EventLog log_;
  ScriptedLink link_{log_};
  RecordingDiscoveryView view_{log_};
  RecordingSink sink_{log_};
};

TEST_F(DiscoveryTest, SingleReadShowsTheBlockWithoutAMessage) {
  view_.portIndex = 2;
  view_.baudIndex = 4;
  link_.results.push_back(ReadReply(identificationData()));

  EXPECT_EQ(run(), DiscoveryOutcome::kShown);
  EXPECT_EQ(log_, (EventLog{"stop timer", "disable", "port check COM3", readAt(4),
                            "show ULM5 1.2 05.03.09 123456", "enable"}));
  EXPECT_EQ(link_.parameters().portNumber, 3);
  EXPECT_EQ(link_.parameters().baudIndex, 4);
}

TEST_F(DiscoveryTest, SingleReadFailureKeepsTheFieldsAndSaysNoConnection) {
  const std::string good = identificationData();
  // A result code, a reply one byte short and one byte long: all "no connection".
  for (const auto& reply : {ResultCode(0x02), ResultCode(0x19), ReadReply(good.substr(0, 11)),
                            ReadReply(good + '\0')}) {
    log_.clear();
    view_.shown = {"ULM5", "1.0", "01.01.01", "7"};
    link_.results = {reply};
    EXPECT_EQ(run(), DiscoveryOutcome::kNoConnection);
    EXPECT_EQ(log_, (EventLog{"stop timer", "disable", "port check COM1", readAt(2),
                              "error Нет связи с прибором", "enable"}));
    EXPECT_EQ(view_.shown.serial, "7");
  }
}

TEST_F(DiscoveryTest, PortCheckFailureSendsNothing) {
  for (bool autoFind : {false, true}) {
    log_.clear();
    view_.autoFind = autoFind;
    link_.portCheckPasses = false;
    EXPECT_EQ(run(), DiscoveryOutcome::kPortError);
    EXPECT_EQ(log_, (EventLog{"stop timer", "disable", "port check COM1",
                              "error Не могу открыть порт", "enable"}));
  }
}

TEST_F(DiscoveryTest, SearchStartsAtTheLowestSpeedAndStepsTheList) {
  view_.autoFind = true;
  view_.baudIndex = 2;  // answers at the selected speed, but the search starts at 2400
  link_.results = {ResultCode(0x02), ResultCode(0x09), ReadReply(identificationData())};

  EXPECT_EQ(run(), DiscoveryOutcome::kFound);
  EXPECT_EQ(log_,
            (EventLog{"stop timer", "disable", "port check COM1", readAt(0), "select 0", readAt(1),
                      "select 1", readAt(2), "select 2", "show ULM5 1.2 05.03.09 123456", "enable",
                      "confirm Обнаружен прибор"}));
  EXPECT_EQ(view_.baudIndex, 2);
  EXPECT_EQ(link_.parameters().baudIndex, 2);
}

TEST_F(DiscoveryTest, SearchFailingAtEverySpeedEndsAt115200) {
  view_.autoFind = true;
  view_.baudIndex = 3;
  view_.shown = {"ULM5", "1.0", "01.01.01", "7"};

  EXPECT_EQ(run(), DiscoveryOutcome::kNotFound);
  EventLog expected{"stop timer", "disable", "port check COM1"};
  for (int i = 0; i <= 6; ++i) {
    expected.push_back(readAt(i));
    expected.push_back("select " + std::to_string(i));
  }
  expected.push_back("error Прибор не обнаружен");
  expected.push_back("enable");
  EXPECT_EQ(log_, expected);
  EXPECT_EQ(view_.baudIndex, 6);
  EXPECT_EQ(view_.shown.serial, "7");
}

TEST_F(DiscoveryTest, CancelDuringAnAttemptEndsTheSearchAfterIt) {
  view_.autoFind = true;
  int attempts = 0;
  link_.duringRequest = [&] {
    if (++attempts == 2) view_.cancel = true;
  };
  EXPECT_EQ(run(), DiscoveryOutcome::kCancelled);
  EXPECT_EQ(log_, (EventLog{"stop timer", "disable", "port check COM1", readAt(0), "select 0",
                            readAt(1), "select 1", "enable"}))
      << "no further speed, no message";
}

TEST_F(DiscoveryTest, UnknownTypeStillShowsTheBlockAndCountsAsFound) {
  view_.autoFind = true;
  link_.results = {ReadReply(identificationData(3))};
  EXPECT_EQ(run(), DiscoveryOutcome::kFound);
  EXPECT_EQ(view_.shown.type, "Неиз.приб");
  EXPECT_EQ(view_.shown.date, "05.03.09");
  EXPECT_EQ(view_.shown.version, "1.2");
  EXPECT_EQ(view_.shown.serial, "123456");
}

TEST_F(DiscoveryTest, PassesTheStandardSetWithoutReplacingTheRecordsTiming) {
  link_.parameters().timing = device::kArchiveTiming;
  link_.results.push_back(ReadReply(identificationData()));
  run();
  EXPECT_EQ(log_.at(3), readAt(2));
  EXPECT_EQ(link_.parameters().timing.overallLimit, device::kArchiveTiming.overallLimit);
  EXPECT_EQ(link_.parameters().timing.responseDelay, device::kArchiveTiming.responseDelay);
}

TEST_F(DiscoveryTest, SecondPressDuringAnExchangeDoesNotStart) {
  EventLog nestedLog;
  RecordingDiscoveryView nestedView(nestedLog);
  RecordingSink nestedSink(nestedLog);
  DiscoveryOutcome nested = DiscoveryOutcome::kShown;
  link_.duringRequest = [&] { nested = device::RunDiscovery(link_, nestedView, nestedSink); };
  link_.results.push_back(ReadReply(identificationData()));

  EXPECT_EQ(run(), DiscoveryOutcome::kShown);
  EXPECT_EQ(nested, DiscoveryOutcome::kNotStarted);
  EXPECT_TRUE(nestedLog.empty());
  EXPECT_EQ(log_.size(), 6u);  // the running discovery went on undisturbed
}

}  // namespace
}  // namespace device_test
