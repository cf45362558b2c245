#pragma once

#include "device/calibration_point_fields.h"
#include "device/general_settings.h"
#include "device/message_sink.h"
#include "device/operation_controls.h"
#include "device/register_link.h"

namespace device {

inline constexpr const char* kOutputCurrentSetText = "Выходной ток установлен";
// The line below kOutputCurrentSetText: the switch stays cleared.
inline constexpr const char* kOutputCurrentStaysOffText =
    "Функция выходного тока выключена, пока её снова не включат в общих настройках";
inline constexpr const char* kNotAnOutputCurrentPointText =
    "Ток устанавливается только для точек A00 - A04";

// "Установить ток", standard timing set: reads register 12, writes it back
// with the output-current switch (bit 3 of its first byte) cleared and
// everything else as read, then commands the nominal current of the selected
// point. Each request only after the one before succeeded; the switch stays
// cleared, and once its write is confirmed "Включить выходной ток" of
// `settings` shows it cleared too. A failure names what was written. Only
// A00..A04 have a current: any other point is refused before the port is
// touched. The button stays enabled.
OperationOutcome SetOutputCurrent(RegisterLink& link, OperationControls& controls,
                                  const CalibrationPointFields& fields,
                                  GeneralSettingsFields& settings, MessageSink& messages);

}  // namespace device
