#pragma once

#include <mutex>
#include <optional>
#include <utility>

#include "sim/archive.h"
#include "sim/byte_image.h"
#include "sim/instrument.h"
#include "sim/instrument_clock.h"
#include "sim/measurement_model.h"
#include "sim/register_map.h"

namespace sim {

// Everything the instrument keeps. Members of Instrument lock `mutex` and then
// call the helpers below, which expect it held.
class Instrument::State {
 public:
  State();

  MeasurementSetup measurementSetup() const;
  float decimalScale() const;  // 10^d of the decimal point code, 1 for a code above 3
  void updateOutputs();        // setpoint states and relays from the current values
  void appendCurrentRecord();
  std::string inputImage() const;
  void prefillArchive(int records, int periodS);

  mutable std::mutex mutex;
  ByteImage holding{reg::kHoldingCount * 2};
  InstrumentClock clock;
  int8_t correction = 0;
  int activeBaudIndex = 6;
  uint16_t faultWord = 0;

  MeasuredValues values;
  bool frozen = false;
  double liveSeconds = 0;
  float rate = 0;  // of the physical quantity, per second

  uint8_t setpointStates = 0;  // as shown: held or derived
  uint8_t relayStates = 0;
  uint8_t derivedSetpoints = 0;  // the setpoints' own states, which their hysteresis needs
  uint8_t heldRelays = 0;        // relays of disabled setpoints
  std::optional<std::pair<uint8_t, uint8_t>> heldOutputs;  // setpoint states, relay states

  Archive archive{Instrument::kArchiveCapacity};
  int64_t archiveElapsedMs = 0;

  std::optional<uint8_t> calibrationPoint;
  int16_t calibrationValue = 0;
  int16_t outputCurrentCode = 0;
};

}  // namespace sim
