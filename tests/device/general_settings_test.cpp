#include "device/general_settings.h"

#include <gtest/gtest.h>

#include "device/data_image.h"
#include "event_log.h"
#include "scripted_link.h"

namespace device_test {
namespace {

using device::GeneralSettingsForm;
using device::OperationOutcome;

class FormFields : public device::GeneralSettingsFields {
 public:
  explicit FormFields(EventLog& log) : log_(log) {}
  GeneralSettingsForm form;
  GeneralSettingsForm settingsForm() const override { return form; }
  void showSettings(const GeneralSettingsForm& shown) override {
    form = shown;
    log_.push_back("show");
  }

 private:
  EventLog& log_;
};

// HR 0..12 with every field set, setpoint data in between.
std::string settingsBlock(uint8_t baud, uint8_t protocol, uint8_t type) {
  device::DataImage image(26);
  image.setU8(0, 17);
  image.setU8(1, baud);
  image.setU8(2, protocol);
  image.setU8(3, type);
  image.setU8(4, 0xEE);  // scale data: not a general setting
  image.setU8(6, 10);
  image.setU8(7, 99);
  image.setF32(8, 1000.0f);
  image.setU8(24, 0x0A);
  image.setU8(25, 0x55);
  return image.bytes();
}

GeneralSettingsForm validForm() {
  GeneralSettingsForm form;
  form.address = "17";
  form.baudIndex = 6;
  form.protocolIndex = 1;
  form.inputTypeIndex = 25;
  form.filterPeriod = "10";
  form.archivePeriod = "99";
  form.coldJunction = true;
  form.outputCurrent = true;
  return form;
}

class GeneralSettingsTest : public ::testing::Test {
 protected:
  OperationOutcome read() { return device::ReadGeneralSettings(link_, controls_, fields_, sink_); }
  OperationOutcome write() {
    return device::WriteGeneralSettings(link_, controls_, fields_, sink_);
  }

  EventLog log_;
  ScriptedLink link_{log_};
  RecordingControls controls_{log_};
  FormFields fields_{log_};
  RecordingSink sink_{log_};
};

TEST_F(GeneralSettingsTest, ReadFillsEveryControlAndLeavesListsBeyondTheirEndUnselected) {
  controls_.selection = {2, 4};
  link_.parameters().timing = device::kFastTiming;
  link_.results = {ReadReply(settingsBlock(6, 1, 25)), ReadReply(settingsBlock(7, 2, 26))};

  EXPECT_EQ(read(), OperationOutcome::kDone);
  EXPECT_EQ(log_, (EventLog{"stop timer", "disable", "port check COM3",
                            "read HR 0+13 at 4 2500/2000/500", "show", "enable"}));
  EXPECT_EQ(fields_.form, validForm());
  EXPECT_EQ(link_.parameters().timing.responseDelay, device::kFastTiming.responseDelay)
      << "the read passes its set without storing it";

  EXPECT_EQ(read(), OperationOutcome::kDone);
  EXPECT_EQ(fields_.form.baudIndex, -1);
  EXPECT_EQ(fields_.form.protocolIndex, -1);
  EXPECT_EQ(fields_.form.inputTypeIndex, -1);
  EXPECT_EQ(fields_.form.address, "17");
}

TEST_F(GeneralSettingsTest, FailedReadKeepsTheControls) {
  const std::string good = settingsBlock(6, 1, 25);
  for (const auto& reply : {ResultCode(0x02), ReadReply(good.substr(0, 25))}) {
    log_.clear();
    fields_.form.address = "5";
    link_.results = {reply};
    EXPECT_EQ(read(), OperationOutcome::kNoConnection);
    EXPECT_EQ(log_, (EventLog{"stop timer", "disable", "port check COM1",
                              "read HR 0+13 at 2 2500/2000/500", "error Нет связи с прибором",
                              "enable"}));
    EXPECT_EQ(fields_.form.address, "5");
  }
}

TEST_F(GeneralSettingsTest, WriteChecksTheFieldsInOrderAndStopsAtTheFirstBadOne) {
  struct Case {
    void (*spoil)(GeneralSettingsForm&);
    const char* message;
  };
  const Case cases[] = {
      {[](GeneralSettingsForm& f) { f = {}; }, "Неверный адрес"},
      {[](GeneralSettingsForm& f) { f = {}, f.address = "3"; }, "Неверная скорость обмена"},
      {[](GeneralSettingsForm& f) { f.address = ""; }, "Неверный адрес"},
      {[](GeneralSettingsForm& f) { f.address = "-1"; }, "Неверный адрес"},
      {[](GeneralSettingsForm& f) { f.address = "1x"; }, "Неверный адрес"},
      {[](GeneralSettingsForm& f) { f.address = "256"; }, "Неверный адрес"},
      {[](GeneralSettingsForm& f) { f.protocolIndex = -1; }, "Неверный протокол"},
      {[](GeneralSettingsForm& f) { f.inputTypeIndex = -1; }, "Неверная градуировка"},
      {[](GeneralSettingsForm& f) { f.filterPeriod = "11"; }, "Неверный период фильтрации"},
      {[](GeneralSettingsForm& f) { f.filterPeriod = "-1"; }, "Неверный период фильтрации"},
      {[](GeneralSettingsForm& f) { f.filterPeriod = "a"; }, "Неверный период фильтрации"},
      {[](GeneralSettingsForm& f) { f.archivePeriod = ""; }, "Неверный период архивирования"},
      {[](GeneralSettingsForm& f) { f.archivePeriod = "101"; }, "Неверный период архивирования"},
      {[](GeneralSettingsForm& f) { f.archivePeriod = "-9"; }, "Неверный период архивирования"},
  };
  for (const Case& c : cases) {
    log_.clear();
    fields_.form = validForm();
    c.spoil(fields_.form);
    EXPECT_EQ(write(), OperationOutcome::kRefused) << c.message;
    EXPECT_EQ(log_, (EventLog{"stop timer", "disable", "port check COM1",
                              std::string("error ") + c.message, "enable"}));
  }
  EXPECT_TRUE(link_.written.empty());
}

TEST_F(GeneralSettingsTest, WriteSendsTheThreeBlocksInOrderWithByte25Zero) {
  fields_.form = validForm();
  fields_.form.address = "0";
  fields_.form.squareRoot = true;
  fields_.form.scaling = true;
  link_.parameters().timing = device::kFastTiming;
  link_.results = {WriteReply(0, 2), WriteReply(3, 1), WriteReply(12, 1)};

  EXPECT_EQ(write(), OperationOutcome::kDone);
  EXPECT_EQ(log_,
            (EventLog{"stop timer", "disable", "port check COM1", "write HR 0+2 at 2 2500/2000/500",
                      "write HR 3+1 at 2 2500/2000/500", "write HR 12+1 at 2 2500/2000/500",
                      "confirm Настройки записаны", "enable"}));
  EXPECT_EQ(link_.written,
            (std::vector<std::string>{std::string("\x00\x06\x01\x19", 4),
                                      std::string("\x0A\x63", 2), std::string("\x0F\x00", 2)}));
  EXPECT_EQ(link_.parameters().timing.responseDelay, device::kStandardTiming.responseDelay)
      << "the write stores its set in the record";
}

TEST_F(GeneralSettingsTest, AFailedWriteStopsTheSequenceAfterTheEarlierOnesTookEffect) {
  for (size_t failing = 0; failing < 3; ++failing) {
    log_.clear();
    link_.written.clear();
    fields_.form = validForm();
    link_.results = {WriteReply(0, 2), WriteReply(3, 1), WriteReply(12, 1)};
    link_.results[failing] = ResultCode(0x16);
    EXPECT_EQ(write(), OperationOutcome::kNoConnection);
    EXPECT_EQ(link_.written.size(), failing + 1);
    EXPECT_TRUE(log_.at(log_.size() - 2).starts_with("error Нет связи с прибором\n"));
  }
}

TEST_F(GeneralSettingsTest, PortCheckFailureWritesNothingAndChecksNoField) {
  link_.portCheckPasses = false;
  EXPECT_EQ(write(), OperationOutcome::kPortError);
  EXPECT_EQ(log_, (EventLog{"stop timer", "disable", "port check COM1",
                            "error Не могу открыть порт", "enable"}));
}

}  // namespace
}  // namespace device_test
