#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "device/message_sink.h"
#include "device/operation_controls.h"
#include "device/register_link.h"
#include "device/scaled_value_text.h"
#include "device/setpoint_blocks.h"

namespace device {

inline constexpr const char* kBadDecimalPointText = "Неверное положение запятой";
// The messages of MaskEditY0, YK, Z0 and ZK when their text is no number.
inline constexpr std::array<const char*, kRangeCount> kBadRangeTexts = {
    "Начало преобразования введено неверно", "Конец преобразования введено неверно",
    "Начало барграфа введено неверно", "Конец барграфа введен неверно"};
inline constexpr int kSetpointColumns = 4;
inline constexpr int kSetpointLists = 4;  // type, kind, relay start, relay on break

// One column "УСТАВКА n" of the page.
struct SetpointColumn {
  bool enabled = false;                     // CheckBoxUstnVkl
  std::string value;                        // MaskEditNastrPribUstn
  std::string zone;                         // MaskEditNastrPribZonan
  std::array<int, kSetpointLists> lists{};  // Type, Vid, ReleStart, ReleObr: 0 or 1
  bool operator==(const SetpointColumn&) const = default;
};

// The page "Уставки" as texts (mask fields with their point and blanks),
// list positions (-1: nothing selected) and check states.
struct SetpointsForm {
  int decimalPoint = -1;                        // ComboBoxPolZap
  std::array<std::string, kRangeCount> ranges;  // MaskEditY0, YK, Z0, ZK
  std::array<SetpointColumn, kSetpointColumns> setpoints;
};

// A setpoint as a read shows it.
struct SetpointShown {
  bool enabled = false;
  ValueFieldText value;
  ValueFieldText zone;
  std::array<int, kSetpointLists> lists{};
  bool operator==(const SetpointShown&) const = default;
};

class SetpointsFields {
 public:
  virtual ~SetpointsFields() = default;
  virtual SetpointsForm setpointsForm() const = 0;
  // ComboBoxPolZap := code (-1 when the code has no item), then every value
  // field laid out anew under it.
  virtual void selectDecimalPoint(int code) = 0;
  virtual void showRange(int index, const ValueFieldText& text) = 0;
  virtual void showSetpoint(int index, const SetpointShown& setpoint) = 0;  // index 0..3
};

// "Считать из прибора": the scale block, then setpoints 1 and 2, then 3 and 4,
// each read only after the one before succeeded and shown at once. The kept
// byte of register 2 is remembered for the writes.
OperationOutcome ReadSetpoints(RegisterLink& link, OperationControls& controls,
                               SetpointsFields& fields, MessageSink& messages, uint8_t& keptByte);

// "Записать в прибор": every value field converted under the selected code
// (the first bad one is reported, nothing written), then the four writes in
// order, each only after the one before succeeded. `separator` is the
// locale's decimal separator.
OperationOutcome WriteSetpoints(RegisterLink& link, OperationControls& controls,
                                const SetpointsFields& fields, MessageSink& messages,
                                uint8_t keptByte, std::string_view separator);

}  // namespace device
