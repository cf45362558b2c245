#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "sim/fault.h"
#include "sim/instrument.h"

namespace sim {

struct SimulatorOptions {
  std::string device;          // empty: create a pseudo-terminal; else serve this serial device
  std::string linkPath;        // if set, a symlink to the pseudo-terminal's slave
  int turnaroundMs = 3;        // request LF -> first reply byte
  int interfaceBaudIndex = 6;  // the instrument's own interface speed (HR0 byte 1), 0..6
  uint8_t networkAddress = 1;  // HR0 byte 0; the instrument also answers address 0
  // Further instruments on the same line (a multi-drop bus), one per address,
  // alike but for their serial numbers; only the first answers address 0.
  std::vector<uint8_t> moreAddresses;
  Fault fault = Fault::kNone;
  int faultParamMs = 0;  // pause of a split reply, extra delay; 0 takes a default
  // On a pseudo-terminal, answer only while the speed the master set equals the
  // interface speed. Off: answer at any speed.
  bool checkLineSpeed = true;
  int updatePeriodMs = 250;  // measurement, clock, setpoint and archive update
  uint16_t faultWord = 0;    // IR bytes 8..9 at start
  // Setpoint and relay states (bits 0..3) shown instead of the derived ones.
  std::optional<std::pair<uint8_t, uint8_t>> heldOutputs;
};

// The instrument with a Modbus ASCII slave on its line, served on a thread of its own.
class Simulator {
 public:
  // Sets up the line and starts serving; throws std::runtime_error if the line
  // cannot be set up.
  explicit Simulator(SimulatorOptions options);
  ~Simulator();  // stops the thread, closes the line, removes the symlink
  Simulator(const Simulator&) = delete;
  Simulator& operator=(const Simulator&) = delete;

  // The path a master opens: the symlink if one was asked for, else the
  // pseudo-terminal's slave or the served device.
  const std::string& devicePath() const;
  // The instruments in the order of their addresses as given; 0 is the first.
  Instrument& instrument(size_t index = 0);
  size_t instrumentCount() const;

  // Takes effect before it returns: a stopped stream sends nothing more.
  void setFault(Fault fault, int paramMs = 0);
  void setTurnaround(int ms);
  void setCheckLineSpeed(bool on);

  uint64_t requestsServed() const;  // good frames answered (exception replies included)
  uint64_t framesRejected() const;  // frames dropped for bad format or LRC
  uint64_t speedMismatches() const;
  // Characters that crossed the line each way: the line time of the traffic.
  uint64_t bytesReceived() const;
  uint64_t bytesSent() const;  // good frames ignored because the line speed differed
  // Replies planned but not yet written whole (turnaround, extra delay, split pause).
  // The line keeps the order of replies, so a later request waits behind them.
  uint64_t repliesPending() const;

 private:
  class Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace sim
