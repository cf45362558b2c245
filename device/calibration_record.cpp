#include "device/calibration_record.h"

#include <utility>

#include "device/decimal_separator.h"
#include "device/point_calibration.h"
#include "device/reply_length.h"
#include "modbus/result_codes.h"

namespace device {

namespace {

constexpr int kLastCurrentPoint = 4;
constexpr int kColdJunctionPoint = 5;
// A command that went out without its echo coming back may have been carried out.
constexpr const char* kMayHaveRun = " (команда могла быть выполнена)";

}  // namespace

PointCommandOutcome PointCommandOutcomeOf(const modbus::ExchangeResult& reply) {
  if (IsWriteSuccess(reply)) return PointCommandOutcome::kConfirmed;
  if (reply.size() != 1) return PointCommandOutcome::kBadReply;
  switch (static_cast<uint8_t>(reply[0])) {
    case modbus::kPortOpenError:
      return PointCommandOutcome::kNotSent;
    case modbus::kPortHardwareError:
      return PointCommandOutcome::kPortFailure;
    case modbus::kNoAnswer:
      return PointCommandOutcome::kNoReply;
    case modbus::kExceptionReply:
      return PointCommandOutcome::kRefused;
    default:
      return PointCommandOutcome::kBadReply;
  }
}

std::string PointCommandOutcomeText(PointCommandOutcome outcome) {
  const std::string failed = std::string(kCalibrationFailedText) + ": ";
  switch (outcome) {
    case PointCommandOutcome::kConfirmed:
      return kPointCalibratedText;
    case PointCommandOutcome::kNotSent:
      return failed + "порт не открылся, команда не отправлена";
    case PointCommandOutcome::kPortFailure:
      return failed + "ошибка порта во время обмена" + kMayHaveRun;
    case PointCommandOutcome::kNoReply:
      return failed + "прибор не ответил" + kMayHaveRun;
    case PointCommandOutcome::kRefused:
      return failed + "прибор отклонил команду";
    case PointCommandOutcome::kBadReply:
      return failed + "искажённый ответ прибора" + kMayHaveRun;
  }
  return kCalibrationFailedText;
}

std::string PointValueText(int point, int16_t value, std::string_view separator) {
  if (point >= 0 && point <= kLastCurrentPoint) return std::to_string(value) + " мкА";
  // Tenths, as the version number is kept.
  if (point == kColdJunctionPoint)
    return NormalizeDecimalSeparator(FormatVersion(value), separator) + " °C";
  return {};
}

CalibrationRecord::CalibrationRecord(Clock clock) : clock_(std::move(clock)) {}

void CalibrationRecord::instrumentFound(const IdentificationTexts& texts) {
  if (instrument_ && instrument_->serial != texts.serial) {
    groups_ = {};
    points_.clear();
  }
  instrument_ = texts;
}

const CalibrationRecord::Group& CalibrationRecord::group(CoefficientGroup group) const {
  return groups_[static_cast<size_t>(group)];
}

void CalibrationRecord::coefficientsRead(CoefficientGroup group,
                                         const std::vector<std::string>& texts) {
  groups_[static_cast<size_t>(group)].read = Stamped{texts, clock_()};
}

void CalibrationRecord::coefficientsWritten(CoefficientGroup group,
                                            const std::vector<std::string>& texts) {
  groups_[static_cast<size_t>(group)].written = Stamped{texts, clock_()};
}

void CalibrationRecord::pointCommandSent(int point, int16_t value,
                                         const modbus::ExchangeResult& reply) {
  points_.push_back({point, value, PointCommandOutcomeOf(reply), clock_()});
}

}  // namespace device
