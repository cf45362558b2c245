#pragma once

#include "sim/clock_time.h"

namespace sim {

// One stored record; its 32-byte image is laid out by EncodeArchiveRecord.
struct ArchiveRecord {
  ClockTime time;
  float coldJunction = 0;   // offset 14
  float measuredValue = 0;  // offset 18
  float inputSignal = 0;    // offset 22
};

}  // namespace sim
