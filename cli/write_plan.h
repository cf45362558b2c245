#pragma once

#include <string>
#include <vector>

#include "cli/capturing_link.h"
#include "cli/configuration.h"
#include "cli/options.h"
#include "cli/terminal_sink.h"

namespace cli {

enum class Block { kGeneral, kSetpoints, kCalibration };
inline constexpr Block kBlocks[] = {Block::kGeneral, Block::kSetpoints, Block::kCalibration};

// "general settings", "scale and setpoints", "calibration coefficients"
const char* BlockName(Block block);
bool Chosen(const BlockChoice& choice, Block block);

struct PlannedWrite {
  Block block;
  CapturingLink::Write write;
};

// The writes the window's operations of the chosen blocks send for a
// configuration, in the window's order, with nothing sent; each field is
// checked as the window checks it. False when one is refused (its message
// given).
bool PlanWrites(const Configuration& configuration, const BlockChoice& blocks,
                TerminalSink& messages, std::vector<PlannedWrite>& plan);

// The plan without the registers [reg, reg + count): writes that cover them
// are cut around them.
std::vector<PlannedWrite> WithoutRegisters(const std::vector<PlannedWrite>& plan, int32_t reg,
                                           int32_t count);

// The dot-separated names of the fields whose bytes lie in [address, address + width).
std::string FieldNamesAt(int32_t address, int width);

}  // namespace cli
