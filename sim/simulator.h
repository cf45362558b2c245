#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "sim/fault.h"
#include "sim/instrument.h"
#include "sim/request_log.h"

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
  // Every instrument answers address 0, each after the reply before it has
  // ended plus the turnaround, as factory-fresh units on one line do.
  bool allAnswerZero = false;
  Fault fault = Fault::kNone;
  int faultParamMs = 0;  // pause of a split reply, extra delay; 0 takes a default
  // On a pseudo-terminal, answer only while the speed the master set equals the
  // interface speed. Off: answer at any speed.
  bool checkLineSpeed = true;
  int updatePeriodMs = 250;  // measurement, clock, setpoint and archive update
  uint16_t faultWord = 0;    // IR bytes 8..9 at start
  // Setpoint and relay states (bits 0..3) shown instead of the derived ones.
  std::optional<std::pair<uint8_t, uint8_t>> heldOutputs;

  // Misbehaviours counted in requests that an instrument on the line takes
  // (its address or 0, at its speed), from start.
  int silentAfter = -1;  // answer this many, then none, carrying none out; -1: off
  int exceptionAt = 0;   // this one (1-based) gets the exception, not carried out; 0: off
  uint8_t exceptionCode = 0x04;
  // After this many the line goes away: the pseudo-terminal is closed (its
  // holder sees a hang-up) and the link removed; -1: off.
  int hangupAfter = -1;
  // The line comes back this much later under the same link or device; -1: never.
  int backAfterMs = -1;
  std::optional<uint8_t> glitchByte;  // sent before every reply
  // Characters take their wire time at the speed the master set, both ways.
  bool pace = false;
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
  // pseudo-terminal's slave or the served device. It stays the same when the
  // line comes back after a hang-up.
  const std::string& devicePath() const;
  // The instruments in the order of their addresses as given; 0 is the first.
  Instrument& instrument(size_t index = 0);
  size_t instrumentCount() const;

  // Each setter takes effect before it returns: a request read after the call
  // meets the new setting, a stopped stream sends nothing more, a hang-up has
  // happened.
  void setFault(Fault fault, int paramMs = 0);
  void setTurnaround(int ms);
  void setCheckLineSpeed(bool on);
  // Each counts from the call; -1 (0 for setExceptionAt) turns it off.
  void setSilentAfter(int n);
  void setExceptionAt(int n, uint8_t code = 4);
  // n = 0 hangs up at once. Coming back needs a link or a device: without
  // either the path would change, so a backAfterMs >= 0 throws std::invalid_argument.
  void setHangupAfter(int n, int backAfterMs = -1);
  void setGlitchByte(std::optional<uint8_t> byte);
  void setAllAnswerZero(bool on);
  void setPace(bool on);

  // Every good request frame seen on the line (the last RequestLog::kCapacity),
  // to whatever address, logged when it is taken, before its reply goes out.
  std::vector<LoggedRequest> requestLog() const;
  void clearRequestLog();

  uint64_t requestsServed() const;   // requests answered (exception replies included)
  uint64_t framesRejected() const;   // frames dropped for bad format or LRC
  uint64_t speedMismatches() const;  // good frames ignored because the line speed differed
  // Characters that crossed the line each way: the line time of the traffic.
  uint64_t bytesReceived() const;
  uint64_t bytesSent() const;
  // Replies planned but not yet written whole (turnaround, extra delay, split pause).
  // The line keeps the order of replies, so a later request waits behind them.
  uint64_t repliesPending() const;

 private:
  class Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace sim
