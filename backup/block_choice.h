#pragma once

#include <iterator>

namespace backup {

// The blocks of a configuration, as the window's three pages write them.
enum class Block { kGeneral, kSetpoints, kCalibration };
inline constexpr Block kBlocks[] = {Block::kGeneral, Block::kSetpoints, Block::kCalibration};
inline constexpr size_t kBlockCount = std::size(kBlocks);

struct BlockChoice {
  bool general = true;
  bool setpoints = true;
  bool calibration = true;
};

constexpr bool Chosen(const BlockChoice& choice, Block block) {
  switch (block) {
    case Block::kGeneral:
      return choice.general;
    case Block::kSetpoints:
      return choice.setpoints;
    case Block::kCalibration:
      return choice.calibration;
  }
  return false;
}

constexpr void Choose(BlockChoice& choice, Block block) {
  switch (block) {
    case Block::kGeneral:
      choice.general = true;
      break;
    case Block::kSetpoints:
      choice.setpoints = true;
      break;
    case Block::kCalibration:
      choice.calibration = true;
      break;
  }
}

}  // namespace backup
