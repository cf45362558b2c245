#include "transport/com_port_types.h"

#include <array>
#include <cstddef>

namespace transport {

uint32_t BaudRateValue(TAfBaudrate rate) {
  static constexpr std::array<uint32_t, 16> kRates = {110,    300,    600,    1200,  2400,  4800,
                                                      9600,   14400,  19200,  38400, 56000, 57600,
                                                      115200, 128000, 256000, 0};
  return kRates[static_cast<std::size_t>(rate)];
}

int PlatformPriority(TThreadPriority priority) {
  static constexpr std::array<int, 7> kLevels = {-15, -2, -1, 0, 1, 2, 15};
  return kLevels[static_cast<std::size_t>(priority)];
}

}  // namespace transport
