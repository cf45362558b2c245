#pragma once

#include "device/operation_start.h"

namespace device {

// What a button-started operation needs of the window besides its fields: the
// connection panel's selection, the measurement timer it switches off, and
// its own button, disabled while it runs.
class OperationControls {
 public:
  virtual ~OperationControls() = default;
  virtual ConnectionSelection connection() const = 0;
  virtual void stopMeasurementTimer() = 0;
  virtual void setButtonEnabled(bool enabled) = 0;
};

// How an operation ended, for callers and tests; the user has been told already.
enum class OperationOutcome {
  kNotStarted,    // another exchange was under way: nothing done
  kPortError,     // "Не могу открыть порт", nothing sent
  kRefused,       // a field failed its check, nothing sent
  kNoConnection,  // a request failed; earlier writes of the operation took effect
  kDone,
};

}  // namespace device
