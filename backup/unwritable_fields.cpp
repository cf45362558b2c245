#include "backup/unwritable_fields.h"

#include <algorithm>

namespace backup {

namespace {

constexpr uint32_t kSingleExponent = 0x7F800000;
constexpr int kSingleWidth = 4;

bool isSingleCoefficient(const BackupField& field) {
  return field.block == Block::kCalibration && field.width == kSingleWidth;
}

}  // namespace

int FirstBitBeyond(const BackupField& field) {
  int lowest = 0;
  while (lowest < 7 && (field.writableBits >> lowest & 1) != 0) ++lowest;
  return lowest;
}

std::vector<UnwritableField> UnwritableFields(const Configuration& c, const BlockChoice& blocks) {
  using Reason = UnwritableField::Reason;
  std::vector<UnwritableField> found;
  for (const BackupField& field : BackupFields()) {
    if (!Chosen(blocks, field.block)) continue;
    const auto raw = c.raw.bytes(field.reg(), field.byte(), field.width);
    if (!raw) continue;
    const auto first = static_cast<uint8_t>((*raw)[0]);
    if (isSingleCoefficient(field)) {
      uint32_t bits = 0;
      for (int i = kSingleWidth - 1; i >= 0; --i) {
        bits = bits << 8 | static_cast<uint8_t>((*raw)[static_cast<size_t>(i)]);
      }
      if ((bits & kSingleExponent) == kSingleExponent) {
        const bool nan = (bits & 0x007FFFFF) != 0;
        found.push_back({&field, nan ? Reason::kNotANumber : Reason::kInfinite, *raw});
      }
    } else if (!field.value && first != 0) {
      found.push_back({&field, Reason::kReservedByte, *raw});
    } else if ((first & ~field.writableBits) != 0) {
      found.push_back({&field, Reason::kBitsBeyond, *raw});
    }
  }
  return found;
}

Configuration WithoutUnwritable(const Configuration& configuration,
                                const std::vector<UnwritableField>& fields) {
  Configuration c = configuration;
  for (const UnwritableField& u : fields) {
    const BackupField& field = *u.field;
    if (isSingleCoefficient(field)) {
      field.setValue(c, "0");
      c.raw.putAt(field.address, modbus::ByteString(kSingleWidth, '\0'));
    } else if (!field.value) {
      c.raw.putAt(field.address, modbus::ByteString(1, '\0'));
    } else {
      const uint8_t kept = *c.raw.at(field.address) & field.writableBits;
      c.raw.putAt(field.address, modbus::ByteString(1, static_cast<char>(kept)));
    }
  }
  return c;
}

std::vector<PlannedWrite> SkippingUnwritable(const std::vector<PlannedWrite>& plan,
                                             const std::vector<UnwritableField>& fields,
                                             std::vector<PlannedWrite>& heldBack) {
  std::vector<PlannedWrite> kept;
  for (const PlannedWrite& planned : plan) {
    const bool sendsSkipped = std::any_of(fields.begin(), fields.end(), [&](const auto& u) {
      return planned.covers(u.field->address);
    });
    (sendsSkipped ? heldBack : kept).push_back(planned);
  }
  return kept;
}

}  // namespace backup
