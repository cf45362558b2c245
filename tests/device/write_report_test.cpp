// A write of several requests that stops part-way keeps its failure message
// and names below it what went in, what went out unconfirmed and what was not
// written, whatever stopped it. "Установить ток" shows the output-current
// switch cleared once the instrument has confirmed it.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "device/calibration_coefficients.h"
#include "device/general_settings.h"
#include "device/output_current.h"
#include "device/setpoints.h"
#include "event_log.h"
#include "modbus/result_codes.h"
#include "scripted_link.h"

namespace device_test {
namespace {

class Pages : public device::GeneralSettingsFields,
              public device::SetpointsFields,
              public device::CoefficientFields,
              public device::CalibrationPointFields {
 public:
  device::GeneralSettingsForm general{"1", 6, 0, 19, "3", "10", false, false, false, true};

  device::GeneralSettingsForm settingsForm() const override { return general; }
  void showSettings(const device::GeneralSettingsForm& form) override { general = form; }

  device::SetpointsForm setpointsForm() const override {
    device::SetpointsForm form;
    form.decimalPoint = 0;
    form.ranges = {"0000", "1000", "0000", "1000"};
    for (auto& column : form.setpoints) column = {true, "0500", "0010", {0, 0, 0, 0}};
    return form;
  }
  void selectDecimalPoint(int) override {}
  void showRange(int, const device::ValueFieldText&) override {}
  void showSetpoint(int, const device::SetpointShown&) override {}

  std::vector<std::string> coefficientTexts(device::CoefficientGroup) const override {
    return {"1", "2", "3", "4", "5"};
  }
  void showCoefficients(device::CoefficientGroup, const std::vector<std::string>&) override {}

  device::CalibrationPointForm calibrationPointForm() const override { return {0, ""}; }
};

struct Operation {
  const char* name;
  // Every request's reply when all goes well, in order.
  std::vector<modbus::ExchangeResult> replies;
  std::function<device::OperationOutcome(device::RegisterLink&, device::OperationControls&, Pages&,
                                         device::MessageSink&)>
      run;
};

const Operation kGeneralSettings{"general settings",
                                 {WriteReply(0, 2), WriteReply(3, 1), WriteReply(12, 1)},
                                 [](auto& link, auto& controls, Pages& pages, auto& messages) {
                                   return device::WriteGeneralSettings(link, controls, pages,
                                                                       messages);
                                 }};
const Operation kSetpoints{
    "setpoints",
    {WriteReply(2, 1), WriteReply(4, 8), WriteReply(13, 10), WriteReply(23, 10)},
    [](auto& link, auto& controls, Pages& pages, auto& messages) {
      return device::WriteSetpoints(link, controls, pages, messages, 0, ",");
    }};
const Operation kCoefficients{"coefficients",
                              {WriteReply(126, 5), WriteReply(136, 2), WriteReply(146, 5),
                               WriteReply(156, 10), WriteReply(166, 10), WriteReply(176, 10)},
                              [](auto& link, auto& controls, Pages& pages, auto& messages) {
                                return device::WriteCalibrationCoefficients(link, controls, pages,
                                                                            messages, ",");
                              }};
const Operation kOutputCurrent{
    "output current",
    {ReadReply(std::string("\x08\x00", 2)), WriteReply(12, 1), WriteReply(9000, 2)},
    [](auto& link, auto& controls, Pages& pages, auto& messages) {
      return device::SetOutputCurrent(link, controls, pages, pages, messages);
    }};

TEST(WriteReport, NamesWhatWentInWhatIsUnconfirmedAndWhatWasNot) {
  using modbus::kExceptionReply;
  using modbus::kLrcError;
  using modbus::kNoAnswer;
  using modbus::kPortOpenError;
  struct Case {
    const Operation& operation;
    size_t failing;  // the request that fails, counted from 0
    uint8_t code;
    const char* details;
    bool switchShownOff = false;  // "Включить выходной ток" cleared on the page
  };
  const Case cases[] = {
      {kGeneralSettings, 0, kNoAnswer,
       "Отправлено, не подтверждено: адрес, скорость, протокол, тип входа\n"
       "Не записано: период фильтрации, период архивирования, флажки функций"},
      {kGeneralSettings, 0, kPortOpenError, "Ничего не записано"},
      {kGeneralSettings, 1, kExceptionReply,
       "Записано: адрес, скорость, протокол, тип входа\n"
       "Не записано: период фильтрации, период архивирования, флажки функций"},
      {kGeneralSettings, 2, kNoAnswer,
       "Записано: адрес, скорость, протокол, тип входа, период фильтрации, период архивирования\n"
       "Отправлено, не подтверждено: флажки функций"},
      {kSetpoints, 0, kExceptionReply, "Ничего не записано"},
      {kSetpoints, 2, kNoAnswer,
       "Записано: положение запятой, диапазоны\nОтправлено, не подтверждено: уставки 1 и 2\n"
       "Не записано: уставки 3 и 4"},
      {kSetpoints, 3, kPortOpenError,
       "Записано: положение запятой, диапазоны, уставки 1 и 2\nНе записано: уставки 3 и 4"},
      {kCoefficients, 1, kLrcError,
       "Записано: к-ты выходного тока\nОтправлено, не подтверждено: к-т температуры ХС\n"
       "Не записано: к-ты входного тока, к-ты 100мВ, к-ты 1В, к-ты сопротивления"},
      {kCoefficients, 5, kExceptionReply,
       "Записано: к-ты выходного тока, к-т температуры ХС, к-ты входного тока, к-ты 100мВ, "
       "к-ты 1В\nНе записано: к-ты сопротивления"},
      {kOutputCurrent, 0, kNoAnswer, "Ничего не записано"},
      {kOutputCurrent, 1, kNoAnswer,
       "Отправлено, не подтверждено: выключение выходного тока\n"
       "Не записано: команда установки тока"},
      {kOutputCurrent, 2, kExceptionReply,
       "Записано: выключение выходного тока\nНе записано: команда установки тока", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.operation.name) + ", request " + std::to_string(c.failing));
    EventLog log;
    ScriptedLink link(log);
    RecordingControls controls(log);
    RecordingSink sink(log);
    Pages pages;
    link.results.assign(c.operation.replies.begin(), c.operation.replies.end());
    link.results[c.failing] = ResultCode(c.code);

    EXPECT_EQ(c.operation.run(link, controls, pages, sink),
              device::OperationOutcome::kNoConnection);
    const auto sent = std::count_if(log.begin(), log.end(), [](const std::string& entry) {
      return entry.starts_with("read HR") || entry.starts_with("write HR");
    });
    EXPECT_EQ(static_cast<size_t>(sent), c.failing + 1) << "nothing after the failed request";
    const auto error = std::find_if(log.begin(), log.end(), [](const std::string& entry) {
      return entry.starts_with("error ");
    });
    ASSERT_NE(error, log.end());
    EXPECT_EQ(*error, std::string("error Нет связи с прибором\n") + c.details);
    EXPECT_EQ(!pages.general.outputCurrent, c.switchShownOff);
  }
}

}  // namespace
}  // namespace device_test
