#pragma once

#include "device/discovery_view.h"
#include "device/message_sink.h"
#include "device/register_link.h"

namespace device {

inline constexpr const char* kInstrumentFoundText = "Обнаружен прибор";
inline constexpr const char* kInstrumentNotFoundText = "Прибор не обнаружен";

enum class DiscoveryOutcome {
  kNotStarted,    // the link was busy with another exchange: nothing done
  kPortError,     // "Не могу открыть порт"
  kShown,         // single read succeeded, fields shown, no message
  kNoConnection,  // single read failed: "Нет связи с прибором"
  kFound,         // search succeeded: fields shown, "Обнаружен прибор"
  kNotFound,      // all seven speeds failed: "Прибор не обнаружен"
  kCancelled,     // the search ended before the next speed: no message
};

// "Найти": checks the port and reads the identification block, once at the
// selected speed or, with "Автопоиск", at every speed from 2400 upwards until
// one answers. Uses the standard timing set.
DiscoveryOutcome RunDiscovery(RegisterLink& link, DiscoveryView& view, MessageSink& messages);

}  // namespace device
