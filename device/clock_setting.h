#pragma once

#include <string>

#include "device/message_sink.h"
#include "device/operation_controls.h"
#include "device/register_link.h"

namespace device {

inline constexpr const char* kBadDateText = "Неверный ввод даты";
inline constexpr const char* kBadTimeText = "Неверный ввод времени";
inline constexpr const char* kBadCorrectionText = "Неверный ввод значения коррекции";
inline constexpr const char* kClockSetText = "Дата и время установлены";

// The instrument clock fields of " Установка времени и даты ". The date and
// time texts are the mask fields' texts: 8 characters, the separators at the
// 3rd and 6th place, an empty position as a blank ("  .  .  ").
struct ClockForm {
  std::string date;         // MaskEdit_DataProc
  std::string time;         // MaskEdit_TimeProc
  int dayOfWeekIndex = -1;  // ComboBoxDayWeek, 0 = Monday; -1 nothing selected
  std::string correction;   // EditCorrect
  bool operator==(const ClockForm&) const = default;
};

class ClockFields {
 public:
  virtual ~ClockFields() = default;
  virtual ClockForm clockForm() const = 0;
  virtual void showClock(const ClockForm& form) = 0;  // an empty date or time text clears it
};

// The PC clock display: "dd.mm.yy", "hh:mm:ss" and the day-of-week text.
struct PcClockTexts {
  std::string date;       // statictextDateNow
  std::string time;       // statictextTimeNow
  std::string dayOfWeek;  // StaticTextDayWeekNow
};

// dayOfWeek 1 = Monday .. 7 = Sunday; the year shows modulo 1000 (26 for 2026).
PcClockTexts FormatPcClock(int year, int month, int day, int hours, int minutes, int seconds,
                           int dayOfWeek);

// ">>": the PC date and time into the fields, each keeping its own separators
// (the time field's is the locale's), and the day of week selected by its
// text; an unknown text leaves the selection.
ClockForm CopyPcClock(const PcClockTexts& pc, const ClockForm& fields);

// "Считать из прибора" of the clock group, with the fast timing set. A failed
// read empties both clock fields and says "Нет связи с прибором".
OperationOutcome ReadInstrumentClock(RegisterLink& link, OperationControls& controls,
                                     ClockFields& fields, MessageSink& messages);

// "Записать в прибор" of the clock group, with the standard timing set. All
// three field checks run (up to three messages) before the port check; a date
// the calendar does not have and a time outside 00:00:00..23:59:59 are
// refused like a field that is no number. The button stays enabled
// throughout.
OperationOutcome WriteInstrumentClock(RegisterLink& link, OperationControls& controls,
                                      const ClockFields& fields, MessageSink& messages);

}  // namespace device
