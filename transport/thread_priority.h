#pragma once

#include <cstdint>

#include "transport/com_port_types.h"

namespace transport {

// The platform's id of the calling thread, for applying a priority later.
int64_t currentPlatformThreadId();
// False when the platform refused (raising a priority needs privileges).
bool applyThreadPriority(int64_t platformThreadId, TThreadPriority priority);

}  // namespace transport
