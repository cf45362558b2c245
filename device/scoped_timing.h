#pragma once

#include "device/link_parameters.h"

namespace device {

// For operations that pass their timing set with their requests without
// storing it in the shared record: the record's timing is the given set while
// this lives and its previous value afterwards, so the measurement poll keeps
// what it had.
class ScopedTiming {
 public:
  ScopedTiming(LinkParameters& parameters, const modbus::ExchangeTiming& timing)
      : parameters_(parameters), saved_(parameters.timing) {
    parameters_.timing = timing;
  }
  ScopedTiming(const ScopedTiming&) = delete;
  ScopedTiming& operator=(const ScopedTiming&) = delete;
  ~ScopedTiming() { parameters_.timing = saved_; }

 private:
  LinkParameters& parameters_;
  modbus::ExchangeTiming saved_;
};

}  // namespace device
