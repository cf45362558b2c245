#pragma once

#include <string_view>

#include "device/calibration_observer.h"
#include "device/calibration_point_fields.h"
#include "device/message_sink.h"
#include "device/operation_controls.h"
#include "device/register_link.h"

namespace device {

inline constexpr const char* kBadCalibrationValueText = "Неверное значение калибровки";
inline constexpr const char* kColdJunctionRangeText = "Значение должно быть от 20C до 30C";
inline constexpr const char* kPointCalibratedText = "Калибровка точки завершена";
inline constexpr const char* kCalibrationFailedText = "Ошибка калибровки";

// "Калибровка точки": the port check with the calibration timing set (kept in
// the shared record), then the value of the selected point, then one
// calibration command. Points A00..A04 take a whole number of microamperes in
// the point's range, A05 a temperature of 20..30 degrees (either separator)
// sent in tenths, halves to even; A06..A25 do not read the entry field and
// send the value word 0. A bad value is reported and nothing is sent. The
// button stays enabled while the command waits. A command that went out is
// told to `observer` with the instrument's reply.
OperationOutcome CalibratePoint(RegisterLink& link, OperationControls& controls,
                                const CalibrationPointFields& fields, MessageSink& messages,
                                std::string_view separator,
                                CalibrationObserver* observer = nullptr);

}  // namespace device
