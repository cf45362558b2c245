#include "device/setpoints.h"

#include <optional>

#include "device/block_writes.h"
#include "device/data_image.h"
#include "device/link_messages.h"
#include "device/write_block_names.h"

namespace device {

namespace {

// Flag bits of the four lists, in their order in a column.
constexpr std::array<uint8_t, kSetpointLists> kListBits = {
    setpoint_flag::kGreater, setpoint_flag::kRate, setpoint_flag::kRelayStartClosed,
    setpoint_flag::kRelayBreakClosed};

std::string valueMessage(const char* what, int n) {
  return std::string("Значение ") + what + " " + std::to_string(n) + " введено неверно";
}

SetpointShown shownOf(const SetpointRecord& record, int decimalPoint) {
  SetpointShown shown;
  shown.enabled = (record.flags & setpoint_flag::kEnabled) != 0;
  shown.value = RawCountText(record.value, decimalPoint);
  shown.zone = RawCountText(record.zone, decimalPoint);
  for (size_t k = 0; k < kListBits.size(); ++k) {
    shown.lists[k] = (record.flags & kListBits[k]) != 0 ? 1 : 0;
  }
  return shown;
}

uint8_t flagsOf(const SetpointColumn& column) {
  uint8_t flags = column.enabled ? setpoint_flag::kEnabled : 0;
  for (size_t k = 0; k < kListBits.size(); ++k) {
    if (column.lists[k] != 0) flags |= kListBits[k];
  }
  return flags;
}

std::optional<DataImage> readBlock(RegisterLink& link, int32_t start) {
  return DataImage::fromReadReply(link.readHoldingRegisters(start, kScaleCount), kScaleCount);
}

struct Converted {
  ScaleBlock scale;
  std::array<SetpointPair, 2> blocks;
};

// Every field in the order of its message: ranges, setpoint values, zones.
std::optional<Converted> convert(const SetpointsForm& form, uint8_t keptByte,
                                 std::string_view separator, MessageSink& messages) {
  Converted c;
  c.scale.keptByte = keptByte;
  c.scale.decimalPoint = static_cast<uint8_t>(form.decimalPoint);
  const auto count = [&](const std::string& text) {
    return RawCountOf(text, form.decimalPoint, separator);
  };
  for (size_t i = 0; i < form.ranges.size(); ++i) {
    const auto raw = count(form.ranges[i]);
    if (!raw) return messages.error(kBadRangeTexts[i]), std::nullopt;
    c.scale.ranges[i] = *raw;
  }
  for (size_t n = 0; n < form.setpoints.size(); ++n) {
    const auto raw = count(form.setpoints[n].value);
    if (!raw) return messages.error(valueMessage("уставки", static_cast<int>(n) + 1)), std::nullopt;
    c.blocks[n / 2][n % 2].value = *raw;
  }
  for (size_t n = 0; n < form.setpoints.size(); ++n) {
    const auto raw = count(form.setpoints[n].zone);
    if (!raw) {
      return messages.error(valueMessage("зоны возврата", static_cast<int>(n) + 1)), std::nullopt;
    }
    c.blocks[n / 2][n % 2].zone = *raw;
    c.blocks[n / 2][n % 2].flags = flagsOf(form.setpoints[n]);
  }
  return c;
}

// The decimal-point code goes first: after a failure further on, the
// instrument already holds it.
std::vector<BlockWrite> blocksOf(const Converted& c) {
  std::vector<BlockWrite> blocks = {
      {kPointWriteName, kPointStart, kPointCount, EncodePoint(c.scale)},
      {kRangesWriteName, kRangesStart, kRangesCount, EncodeRanges(c.scale)},
  };
  for (size_t b = 0; b < c.blocks.size(); ++b) {
    blocks.push_back({kSetpointPairWriteNames[b], kSetpointBlockStarts[b], kSetpointBlockCount,
                      EncodeSetpointBlock(c.blocks[b])});
  }
  return blocks;
}

}  // namespace

OperationOutcome ReadSetpoints(RegisterLink& link, OperationControls& controls,
                               SetpointsFields& fields, MessageSink& messages, uint8_t& keptByte) {
  if (link.busy()) return OperationOutcome::kNotStarted;
  controls.stopMeasurementTimer();
  controls.setButtonEnabled(false);
  link.parameters().timing = kStandardTiming;  // stored, as every setpoint operation does
  if (!StorePortAndCheck(link, controls.connection(), messages)) {
    controls.setButtonEnabled(true);
    return OperationOutcome::kPortError;
  }

  bool complete = false;
  const auto scaleImage = readBlock(link, kScaleStart);
  if (const auto scale = scaleImage ? DecodeScaleBlock(*scaleImage) : std::nullopt) {
    keptByte = scale->keptByte;
    const int d = scale->decimalPoint;
    fields.selectDecimalPoint(IsDecimalPointCode(d) ? d : -1);
    for (size_t i = 0; i < scale->ranges.size(); ++i) {
      fields.showRange(static_cast<int>(i), RawCountText(scale->ranges[i], d));
    }
    complete = true;
    for (size_t b = 0; complete && b < kSetpointBlockStarts.size(); ++b) {
      const auto image = readBlock(link, kSetpointBlockStarts[b]);
      const auto pair = image ? DecodeSetpointBlock(*image) : std::nullopt;
      complete = pair.has_value();
      for (size_t n = 0; pair && n < pair->size(); ++n) {
        fields.showSetpoint(static_cast<int>(b * kSetpointsPerBlock + n), shownOf((*pair)[n], d));
      }
    }
  }
  if (!complete) messages.error(kNoConnectionText);
  controls.setButtonEnabled(true);
  return complete ? OperationOutcome::kDone : OperationOutcome::kNoConnection;
}

OperationOutcome WriteSetpoints(RegisterLink& link, OperationControls& controls,
                                const SetpointsFields& fields, MessageSink& messages,
                                uint8_t keptByte, std::string_view separator) {
  if (link.busy()) return OperationOutcome::kNotStarted;
  const WholeWrite whole(link);
  controls.stopMeasurementTimer();
  controls.setButtonEnabled(false);
  link.parameters().timing = kStandardTiming;  // stored, as every setpoint operation does
  if (!StorePortAndCheck(link, controls.connection(), messages)) {
    controls.setButtonEnabled(true);
    return OperationOutcome::kPortError;
  }

  OperationOutcome outcome = OperationOutcome::kRefused;
  const SetpointsForm form = fields.setpointsForm();
  if (!IsDecimalPointCode(form.decimalPoint)) {
    // Without a code there is no scale: any count written would be a guess.
    messages.error(kBadDecimalPointText);
  } else if (const auto converted = convert(form, keptByte, separator, messages)) {
    const BlockWriteReport report = WriteBlocks(link, blocksOf(*converted));
    if (report.complete()) {
      messages.confirmation(kSettingsWrittenText);
      outcome = OperationOutcome::kDone;
    } else {
      messages.error(ReportedFailure(kNoConnectionText, report));
      outcome = OperationOutcome::kNoConnection;
    }
  }
  controls.setButtonEnabled(true);
  return outcome;
}

}  // namespace device
