#pragma once

#include <string>

#include "device/message_sink.h"
#include "device/operation_controls.h"
#include "device/register_link.h"

namespace device {

inline constexpr const char* kBadAddressText = "Неверный адрес";
inline constexpr const char* kBadBaudText = "Неверная скорость обмена";
inline constexpr const char* kBadProtocolText = "Неверный протокол";
inline constexpr const char* kBadInputTypeText = "Неверная градуировка";
inline constexpr const char* kBadFilterPeriodText = "Неверный период фильтрации";
inline constexpr const char* kBadArchivePeriodText = "Неверный период архивирования";

// Item counts of the three lists; a value from the instrument beyond its list
// selects nothing.
inline constexpr int kBaudItemCount = 7;
inline constexpr int kProtocolItemCount = 2;
inline constexpr int kInputTypeItemCount = 26;

// The controls of " Общие настройки прибора " as texts, list positions
// (-1: nothing selected) and check states.
struct GeneralSettingsForm {
  std::string address;         // EditPribAdr
  int baudIndex = -1;          // comboboxBaud
  int protocolIndex = -1;      // comboboxProtocol
  int inputTypeIndex = -1;     // comboboxTypeGrad
  std::string filterPeriod;    // editPeriodFiltr
  std::string archivePeriod;   // editPeriodArh
  bool squareRoot = false;     // CheckBoxFlagCanSqr
  bool coldJunction = false;   // CheckBoxFlagCanXC
  bool scaling = false;        // CheckBoxFlagCanPreobrY
  bool outputCurrent = false;  // CheckBoxFlagCanIout
  bool operator==(const GeneralSettingsForm&) const = default;
};

class GeneralSettingsFields {
 public:
  virtual ~GeneralSettingsFields() = default;
  virtual GeneralSettingsForm settingsForm() const = 0;
  virtual void showSettings(const GeneralSettingsForm& form) = 0;
};

// "Считать из прибора": HR 0..12 into every control. A failed read leaves the
// controls as they are and says "Нет связи с прибором".
OperationOutcome ReadGeneralSettings(RegisterLink& link, OperationControls& controls,
                                     GeneralSettingsFields& fields, MessageSink& messages);

// "Записать в прибор": checks the fields in order (the first bad one is
// reported and nothing is written), then the three writes in order, each only
// after the one before succeeded.
OperationOutcome WriteGeneralSettings(RegisterLink& link, OperationControls& controls,
                                      const GeneralSettingsFields& fields, MessageSink& messages);

}  // namespace device
