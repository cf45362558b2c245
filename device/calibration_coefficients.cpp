#include "device/calibration_coefficients.h"

#include <array>
#include <cstdint>
#include <optional>
#include <utility>

#include "device/block_writes.h"
#include "device/data_image.h"
#include "device/decimal_separator.h"
#include "device/link_messages.h"
#include "device/number_parsing.h"
#include "device/scoped_timing.h"
#include "device/single_text.h"

namespace device {

namespace {

std::vector<std::string> textsOf(const CoefficientBlock& block, const DataImage& image,
                                 std::string_view separator) {
  std::vector<std::string> texts;
  for (size_t field = 0; field < block.fieldCount; ++field) {
    const size_t offset = block.fieldOffset(field);
    texts.push_back(block.type == CoefficientType::kInteger16
                        ? std::to_string(*image.i16(offset))
                        : FormatSingle(*image.f32(offset), separator));
  }
  return texts;
}

// The typed number itself, only if it is one the register holds: "40000"
// would otherwise go out as -25536.
std::optional<int16_t> parseInteger16(const std::string& text) {
  const auto value = ParseInteger(text);
  if (!value || *value < INT16_MIN || *value > INT16_MAX) return std::nullopt;
  return static_cast<int16_t>(*value);
}

// The write payload of a group, or nothing when one of its fields (or a
// missing one) fails.
std::optional<DataImage> payloadOf(const CoefficientBlock& block,
                                   const std::vector<std::string>& texts,
                                   std::string_view separator) {
  if (texts.size() < block.fieldCount) return std::nullopt;
  DataImage image(2 * static_cast<size_t>(block.writeCount()));
  for (size_t field = 0; field < block.fieldCount; ++field) {
    const size_t offset = block.fieldOffset(field);
    if (block.type == CoefficientType::kInteger16) {
      const auto value = parseInteger16(texts[field]);
      if (!value) return std::nullopt;
      image.setI16(offset, *value);
    } else {
      const auto value = ParseSingle(NormalizeDecimalSeparator(texts[field], separator), separator);
      if (!value) return std::nullopt;
      image.setF32(offset, *value);
    }
  }
  return image;
}

}  // namespace

const char* BadCoefficientText(CoefficientGroup group) {
  switch (group) {
    case CoefficientGroup::kOutputCurrent:
      return "Ошибка в коэффициентах выходного тока";
    case CoefficientGroup::kInputCurrent:
      return "Ошибка в коэффициентах входного тока";
    case CoefficientGroup::k100mV:
      return "Ошибка в коэффициентах 100мВ";
    case CoefficientGroup::k1V:
      return "Ошибка в коэффициентах 1 В";
    case CoefficientGroup::kResistance:
      return "Ошибка в коэффициентах сопротивления";
    case CoefficientGroup::kColdJunction:
      return "Ошибка в коэффициентах холодного спая";
  }
  return "";
}

const char* CoefficientBlockName(CoefficientGroup group) {
  switch (group) {
    case CoefficientGroup::kOutputCurrent:
      return "к-ты выходного тока";
    case CoefficientGroup::kInputCurrent:
      return "к-ты входного тока";
    case CoefficientGroup::k100mV:
      return "к-ты 100мВ";
    case CoefficientGroup::k1V:
      return "к-ты 1В";
    case CoefficientGroup::kResistance:
      return "к-ты сопротивления";
    case CoefficientGroup::kColdJunction:
      return "к-т температуры ХС";
  }
  return "";
}

OperationOutcome ReadCalibrationCoefficients(RegisterLink& link, OperationControls& controls,
                                             CoefficientFields& fields, MessageSink& messages,
                                             std::string_view separator,
                                             CalibrationObserver* observer) {
  if (link.busy()) return OperationOutcome::kNotStarted;
  controls.stopMeasurementTimer();
  controls.setButtonEnabled(false);
  const ScopedTiming timing(link.parameters(), kStandardTiming);
  if (!StorePortAndCheck(link, controls.connection(), messages)) {
    controls.setButtonEnabled(true);
    return OperationOutcome::kPortError;
  }

  OperationOutcome outcome = OperationOutcome::kDone;
  for (const CoefficientBlock& block : kCoefficientBlocks) {
    const auto image = DataImage::fromReadReply(
        link.readHoldingRegisters(block.start, kCoefficientReadCount), kCoefficientReadCount);
    if (!image) {
      outcome = OperationOutcome::kNoConnection;
      break;
    }
    const auto texts = textsOf(block, *image, separator);
    fields.showCoefficients(block.group, texts);
    if (observer) observer->coefficientsRead(block.group, texts);
  }
  if (outcome == OperationOutcome::kDone) {
    messages.confirmation(kCoefficientsReadText);
  } else {
    messages.error(kNoConnectionText);
  }
  controls.setButtonEnabled(true);
  return outcome;
}

OperationOutcome WriteCalibrationCoefficients(RegisterLink& link, OperationControls& controls,
                                              const CoefficientFields& fields,
                                              MessageSink& messages, std::string_view separator,
                                              CalibrationObserver* observer) {
  if (link.busy()) return OperationOutcome::kNotStarted;
  const WholeWrite whole(link);
  controls.stopMeasurementTimer();
  controls.setButtonEnabled(false);
  const ScopedTiming timing(link.parameters(), kStandardTiming);
  if (!StorePortAndCheck(link, controls.connection(), messages)) {
    controls.setButtonEnabled(true);
    return OperationOutcome::kPortError;
  }

  // Indexed by group, filled in the groups' check order.
  std::array<std::optional<DataImage>, kCoefficientGroupCount> payloads;
  for (size_t g = 0; g < kCoefficientGroupCount; ++g) {
    const auto group = static_cast<CoefficientGroup>(g);
    auto payload = payloadOf(BlockOf(group), fields.coefficientTexts(group), separator);
    if (!payload) {
      messages.error(BadCoefficientText(group));
      controls.setButtonEnabled(true);
      return OperationOutcome::kRefused;
    }
    payloads[g] = std::move(payload);
  }

  std::vector<BlockWrite> blocks;
  for (const CoefficientBlock& block : kCoefficientBlocks) {
    blocks.push_back({CoefficientBlockName(block.group), block.start, block.writeCount(),
                      payloads[static_cast<size_t>(block.group)]->bytes()});
  }
  const BlockWriteReport report = WriteBlocks(link, blocks);
  for (size_t b = 0; observer && b < kCoefficientBlocks.size(); ++b) {
    const CoefficientBlock& block = kCoefficientBlocks[b];
    // What the instrument now holds, as a read would show it.
    if (report.fate(b) == BlockFate::kWritten)
      observer->coefficientsWritten(
          block.group, textsOf(block, *payloads[static_cast<size_t>(block.group)], separator));
  }
  OperationOutcome outcome = OperationOutcome::kDone;
  if (report.complete()) {
    messages.confirmation(kCoefficientsWrittenText);
  } else {
    messages.error(ReportedFailure(kNoConnectionText, report));
    outcome = OperationOutcome::kNoConnection;
  }
  controls.setButtonEnabled(true);
  return outcome;
}

}  // namespace device
