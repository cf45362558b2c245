#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace device {

// The six coefficient groups of the calibration page, in the order their
// fields are checked before a write.
enum class CoefficientGroup {
  kOutputCurrent,
  kInputCurrent,
  k100mV,
  k1V,
  kResistance,
  kColdJunction
};
inline constexpr size_t kCoefficientGroupCount = 6;

enum class CoefficientType { kInteger16, kSingle };

// HR 126..185 hold six blocks of ten registers, one per group. A block is read
// whole; its group's fields lie side by side from data offset 0, and only they
// are written: the rest of each block (HR 131..135, 138..145, 151..155) is the
// instrument's own.
struct CoefficientBlock {
  CoefficientGroup group;
  int32_t start;
  CoefficientType type;
  size_t fieldCount;

  constexpr size_t fieldWidth() const { return type == CoefficientType::kInteger16 ? 2 : 4; }
  constexpr size_t fieldOffset(size_t field) const { return field * fieldWidth(); }
  constexpr int32_t writeCount() const {
    return static_cast<int32_t>(fieldCount * fieldWidth() / 2);
  }
};

inline constexpr int32_t kCoefficientReadCount = 10;

// In the order they are read and written.
inline constexpr std::array<CoefficientBlock, kCoefficientGroupCount> kCoefficientBlocks{{
    {CoefficientGroup::kOutputCurrent, 126, CoefficientType::kInteger16, 5},
    {CoefficientGroup::kColdJunction, 136, CoefficientType::kSingle, 1},
    {CoefficientGroup::kInputCurrent, 146, CoefficientType::kInteger16, 5},
    {CoefficientGroup::k100mV, 156, CoefficientType::kSingle, 5},
    {CoefficientGroup::k1V, 166, CoefficientType::kSingle, 5},
    {CoefficientGroup::kResistance, 176, CoefficientType::kSingle, 5},
}};

constexpr const CoefficientBlock& BlockOf(CoefficientGroup group) {
  for (const CoefficientBlock& block : kCoefficientBlocks) {
    if (block.group == group) return block;
  }
  return kCoefficientBlocks.front();
}

}  // namespace device
