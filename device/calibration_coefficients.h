#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "device/calibration_coefficient_blocks.h"
#include "device/calibration_observer.h"
#include "device/message_sink.h"
#include "device/operation_controls.h"
#include "device/register_link.h"

namespace device {

inline constexpr const char* kCoefficientsReadText = "Коэффициенты калибровки считаны";
inline constexpr const char* kCoefficientsWrittenText = "Коэффициенты записаны";

// The message of a group whose field fails its conversion.
const char* BadCoefficientText(CoefficientGroup group);
// The group's block as a report of a write names it.
const char* CoefficientBlockName(CoefficientGroup group);

// The coefficient fields of the page "Калибровка", one group at a time, field
// 1 first: five texts, one for the cold junction.
class CoefficientFields {
 public:
  virtual ~CoefficientFields() = default;
  virtual std::vector<std::string> coefficientTexts(CoefficientGroup group) const = 0;
  virtual void showCoefficients(CoefficientGroup group, const std::vector<std::string>& texts) = 0;
};

// "Считать коэффициенты калибровки": the six blocks in order, each read only
// after the one before succeeded and shown at once; a failed read leaves its
// group and the later ones as they were. 16-bit coefficients show in plain
// decimal, singles as FormatSingle with the locale's `separator`. Each group
// shown is told to `observer` too.
OperationOutcome ReadCalibrationCoefficients(RegisterLink& link, OperationControls& controls,
                                             CoefficientFields& fields, MessageSink& messages,
                                             std::string_view separator,
                                             CalibrationObserver* observer = nullptr);

// "Записать коэффициенты калибровки": converts the groups in their check
// order (the first bad field is reported with its group's message and nothing
// is written), then writes the blocks in their own order, each only after the
// one before succeeded. A whole number outside -32768..32767 is refused rather
// than cut to 16 bits; a single takes either separator.
// Each group the instrument confirmed is told to `observer`, its texts as a
// read would show them.
OperationOutcome WriteCalibrationCoefficients(RegisterLink& link, OperationControls& controls,
                                              const CoefficientFields& fields,
                                              MessageSink& messages, std::string_view separator,
                                              CalibrationObserver* observer = nullptr);

}  // namespace device
