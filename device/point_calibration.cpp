#include "device/point_calibration.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <optional>

#include "device/calibration_command.h"
#include "device/decimal_separator.h"
#include "device/link_parameters.h"
#include "device/number_parsing.h"
#include "device/operation_start.h"
#include "device/reply_length.h"

namespace device {

namespace {

struct CurrentRange {
  int32_t low;
  int32_t high;
  const char* message;
};

// Points A00..A04: the measured output current in microamperes.
constexpr std::array<CurrentRange, 5> kCurrentRanges{{
    {3000, 5000, "Значение должно быть от 3000мкА до 5000мкА"},
    {7000, 9000, "Значение должно быть от 7000мкА до 9000мкА"},
    {11000, 13000, "Значение должно быть от 11000мкА до 13000мкА"},
    {15000, 17000, "Значение должно быть от 15000мкА до 17000мкА"},
    {19000, 21000, "Значение должно быть от 19000мкА до 21000мкА"},
}};

constexpr int kColdJunctionPoint = 5;
constexpr double kLowestColdJunction = 20;
constexpr double kHighestColdJunction = 30;

std::optional<int16_t> currentValue(const CurrentRange& range, const std::string& text,
                                    MessageSink& messages) {
  const auto value = ParseInteger(text);
  if (!value) {
    messages.error(kBadCalibrationValueText);
    return std::nullopt;
  }
  if (*value < range.low || *value > range.high) {
    messages.error(range.message);
    return std::nullopt;
  }
  return static_cast<int16_t>(*value);
}

std::optional<int16_t> coldJunctionValue(const std::string& text, std::string_view separator,
                                         MessageSink& messages) {
  const auto degrees = ParseDecimal(NormalizeDecimalSeparator(text, separator), separator);
  if (!degrees) {
    messages.error(kBadCalibrationValueText);
    return std::nullopt;
  }
  if (*degrees < kLowestColdJunction || *degrees > kHighestColdJunction) {
    messages.error(kColdJunctionRangeText);
    return std::nullopt;
  }
  // Tenths of a degree, halves to even (the default rounding mode). Every
  // typed half in 20..30 (20.05, 20.15, ...) lands exactly on the half in the
  // product, so it rounds as typed.
  return static_cast<int16_t>(std::lrint(*degrees * 10));
}

// The value word of the command, or nothing after the value's message.
std::optional<int16_t> valueOf(const CalibrationPointForm& form, std::string_view separator,
                               MessageSink& messages) {
  const auto point = static_cast<size_t>(form.pointIndex);
  if (point < kCurrentRanges.size()) {
    return currentValue(kCurrentRanges[point], form.value, messages);
  }
  if (form.pointIndex == kColdJunctionPoint) {
    return coldJunctionValue(form.value, separator, messages);
  }
  // The instrument takes these points from its input alone; the word is not
  // defined for them and goes as 0.
  return 0;
}

}  // namespace

OperationOutcome CalibratePoint(RegisterLink& link, OperationControls& controls,
                                const CalibrationPointFields& fields, MessageSink& messages,
                                std::string_view separator, CalibrationObserver* observer) {
  if (link.busy()) return OperationOutcome::kNotStarted;
  const WholeWrite whole(link);
  controls.stopMeasurementTimer();
  // Kept in the shared record: the calibration stores its set rather than passing it.
  link.parameters().timing = kCalibrationTiming;
  if (!StorePortAndCheck(link, controls.connection(), messages)) {
    return OperationOutcome::kPortError;
  }

  const CalibrationPointForm form = fields.calibrationPointForm();
  // The list always has a selection once the window is shown.
  if (form.pointIndex < 0 || form.pointIndex >= kCalibrationPointCount) {
    return OperationOutcome::kRefused;
  }
  const auto value = valueOf(form, separator, messages);
  if (!value) return OperationOutcome::kRefused;

  const auto reply = link.writeMultipleRegisters(
      kCalibrationCommandStart, kCalibrationCommandCount,
      EncodeCalibrationCommand(static_cast<uint8_t>(form.pointIndex), *value));
  if (observer) observer->pointCommandSent(form.pointIndex, *value, reply);
  if (!IsWriteSuccess(reply)) {
    messages.error(kCalibrationFailedText);
    return OperationOutcome::kNoConnection;
  }
  messages.confirmation(kPointCalibratedText);
  return OperationOutcome::kDone;
}

}  // namespace device
