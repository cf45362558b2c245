#pragma once

#include <string>
#include <vector>

#include "backup/block_choice.h"
#include "backup/capturing_link.h"
#include "backup/configuration.h"
#include "device/message_sink.h"

namespace backup {

struct PlannedWrite {
  Block block;
  CapturingLink::Write write;

  // Holding-register bytes, as the data image counts them (register r at 2r).
  int32_t firstAddress() const { return 2 * write.start; }
  int32_t endAddress() const { return 2 * (write.start + write.count); }
  bool covers(int32_t address) const { return address >= firstAddress() && address < endAddress(); }
  // The byte it sends at `address`, which it covers.
  uint8_t byteAt(int32_t address) const {
    return static_cast<uint8_t>(write.data[static_cast<size_t>(address - firstAddress())]);
  }
};

// The writes the window's operations of the chosen blocks send for a
// configuration, in the window's order, with nothing sent; each field is
// checked as the window checks it. False when one is refused (the
// operation's message given).
bool PlanWrites(const Configuration& configuration, const BlockChoice& blocks,
                device::MessageSink& messages, std::vector<PlannedWrite>& plan);

// The fields (dot-separated names) whose bytes a write sends.
std::string FieldNamesOf(const PlannedWrite& planned);

// The dot-separated names of the fields whose bytes lie in [address, address + width).
std::string FieldNamesAt(int32_t address, int width);

}  // namespace backup
