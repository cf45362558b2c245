#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "backup/block_choice.h"
#include "backup/write_plan.h"
#include "device/operation_start.h"
#include "device/register_link.h"
#include "modbus/byte_string.h"

namespace backup {

struct BlockProgress {
  int planned = 0;   // writes to send
  int written = 0;   // writes answered
  int heldBack = 0;  // writes not sent because they carry a skipped field
  // The write that was sent and not answered; the instrument may hold it or not.
  std::optional<PlannedWrite> unconfirmed;
  bool withheld = false;  // chosen, but none of it is written (coefficients of another unit)
};
using Progress = std::array<BlockProgress, kBlockCount>;

enum class ReplayEnd { kDone, kFailed, kCancelled };

// How a write that no reply confirmed ended.
enum class WriteFailure {
  kNotCarriedOut,  // refused (an exception reply) or never sent
  kUnconfirmed,    // sent, no confirming reply: the instrument may hold it
  kCancelled,      // not sent: a cancel came first
};

// What a replay needs of the program that runs it.
class ReplayHost {
 public:
  virtual ~ReplayHost() = default;
  virtual device::RegisterLink& link() = 0;
  // The port and speed each write goes out at, taken anew for each.
  virtual device::ConnectionSelection connection() const = 0;
  // Asked before each write; the write under way always finishes.
  virtual bool cancelRequested() const = 0;
  virtual void writing(const PlannedWrite& planned, size_t index, size_t count) = 0;
  virtual WriteFailure failureOf(const modbus::ExchangeResult& reply) const = 0;
  // A confirmed write that gives the instrument this network address.
  virtual void addressWritten(uint8_t address) = 0;
  // A confirmed write moved the instrument to another interface speed: the
  // writes after it go at that speed, which connection() must give from now on.
  virtual void speedChanged(int baudIndex) = 0;
};

// The planned writes one by one, in order, each with the standard timing
// set, as one whole write (see WholeWrite). A new interface speed or network
// address is in force in the instrument once its write was answered. The
// first write that is not confirmed ends the replay. `progress` counts the
// writes done by block and keeps the one sent but not confirmed.
ReplayEnd Replay(ReplayHost& host, const std::vector<PlannedWrite>& plan, Progress& progress);

// The writes of the plan, counted by block.
Progress PlannedProgress(const std::vector<PlannedWrite>& plan);

}  // namespace backup
