#include "device/output_current.h"

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

class SettingsForm : public device::GeneralSettingsFields {
 public:
  device::GeneralSettingsForm form;
  device::GeneralSettingsForm settingsForm() const override { return form; }
  void showSettings(const device::GeneralSettingsForm& shown) override { form = shown; }
};

class OutputCurrentTest : public ::testing::Test {
 protected:
  OperationOutcome setCurrent(int point) {
    fields_.form = {point, "entry not used"};
    return device::SetOutputCurrent(link_, controls_, fields_, settings_, sink_);
  }

  EventLog log_;
  ScriptedLink link_{log_};
  RecordingControls controls_{log_};
  PointForm fields_;
  SettingsForm settings_;
  RecordingSink sink_{log_};
};

TEST_F(OutputCurrentTest, ClearsTheOutputSwitchThenCommandsThePointsCurrent) {
  struct Case {
    int point;
    const char* code;  // little-endian
  };
  const Case cases[] = {
      {0, "\xB8\x05"}, {1, "\x72\x0B"}, {2, "\x2A\x11"}, {3, "\xE4\x16"}, {4, "\x9C\x1C"}};
  for (const Case& c : cases) {
    log_.clear();
    link_.written.clear();
    link_.parameters().timing = device::kFastTiming;
    // Register 12 as read: every switch on, and a second byte to keep.
    link_.results = {ReadReply(std::string("\xFF\x5A", 2)), WriteReply(12, 1), WriteReply(9000, 2)};
    settings_.form = {"5", 6, 0, 19, "3", "10", true, true, true, true};
    EXPECT_EQ(setCurrent(c.point), OperationOutcome::kDone);
    EXPECT_EQ(log_,
              (EventLog{"stop timer", "port check COM1", "read HR 12+1 at 2 2500/2000/500",
                        "write HR 12+1 at 2 2500/2000/500", "write HR 9000+2 at 2 2500/2000/500",
                        "confirm Выходной ток установлен\nФункция выходного тока выключена, "
                        "пока её снова не включат в общих настройках"}));
    EXPECT_EQ(settings_.form,
              (device::GeneralSettingsForm{"5", 6, 0, 19, "3", "10", true, true, true, false}))
        << "the page shows the switch the instrument now holds";
    EXPECT_EQ(link_.written,
              (std::vector<std::string>{std::string("\xF7\x5A", 2),
                                        std::string("\x1A\x00", 2) + std::string(c.code, 2)}));
    EXPECT_EQ(link_.parameters().timing.responseDelay, device::kFastTiming.responseDelay);
  }
}

TEST_F(OutputCurrentTest, AFailedRequestStopsTheSequence) {
  const std::vector<modbus::ExchangeResult> good = {ReadReply(std::string("\x0A\x00", 2)),
                                                    WriteReply(12, 1), WriteReply(9000, 2)};
  for (size_t failing = 0; failing < good.size(); ++failing) {
    log_.clear();
    link_.written.clear();
    link_.results.assign(good.begin(), good.end());
    link_.results[failing] = failing == 0 ? ReadReply(std::string("\x0A", 1)) : ResultCode(0x05);
    EXPECT_EQ(setCurrent(3), OperationOutcome::kNoConnection);
    EXPECT_EQ(link_.written.size(), failing);
    EXPECT_TRUE(log_.back().starts_with("error Нет связи с прибором\n"));
  }
  // A failure at the command leaves the switch written off.
  EXPECT_EQ(link_.written.front(), std::string("\x02\x00", 2));
}

TEST_F(OutputCurrentTest, OnlyTheOutputCurrentPointsHaveACurrent) {
  for (int point : {5, 6, 25, -1}) {
    log_.clear();
    EXPECT_EQ(setCurrent(point), OperationOutcome::kRefused);
    EXPECT_EQ(log_,
              (EventLog{"stop timer", "error Ток устанавливается только для точек A00 - A04"}));
  }
}

TEST_F(OutputCurrentTest, NothingIsSentWhenThePortCannotBeOpened) {
  link_.portCheckPasses = false;
  EXPECT_EQ(setCurrent(0), OperationOutcome::kPortError);
  EXPECT_EQ(log_, (EventLog{"stop timer", "port check COM1", "error Не могу открыть порт"}));
}

}  // namespace
}  // namespace device_test
