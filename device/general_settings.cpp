#include "device/general_settings.h"

#include <optional>

#include "device/block_writes.h"
#include "device/data_image.h"
#include "device/general_settings_block.h"
#include "device/link_messages.h"
#include "device/number_parsing.h"
#include "device/scoped_timing.h"
#include "device/write_block_names.h"

namespace device {

namespace {

constexpr int kMaxAddress = 255;
constexpr int kMaxFilterPeriod = 10;
constexpr int kMaxArchivePeriod = 100;

int listIndex(uint8_t value, int itemCount) { return value < itemCount ? value : -1; }

GeneralSettingsForm formOf(const GeneralSettings& s) {
  GeneralSettingsForm form;
  form.address = std::to_string(s.address);
  form.baudIndex = listIndex(s.baudIndex, kBaudItemCount);
  form.protocolIndex = listIndex(s.protocol, kProtocolItemCount);
  form.inputTypeIndex = listIndex(s.inputType, kInputTypeItemCount);
  form.filterPeriod = std::to_string(s.filterPeriod);
  form.archivePeriod = std::to_string(s.archivePeriod);
  form.squareRoot = (s.switches & switch_bit::kSquareRoot) != 0;
  form.coldJunction = (s.switches & switch_bit::kColdJunction) != 0;
  form.scaling = (s.switches & switch_bit::kScaling) != 0;
  form.outputCurrent = (s.switches & switch_bit::kOutputCurrent) != 0;
  return form;
}

// The typed number itself, only if it lies in 0..max: a byte is never sent
// that differs from what was typed ("-1" would otherwise go out as 255).
std::optional<uint8_t> byteInRange(const std::string& text, int max) {
  const auto value = ParseInteger(text);
  if (!value || *value < 0 || *value > max) return std::nullopt;
  return static_cast<uint8_t>(*value);
}

std::optional<uint8_t> selection(int index, int itemCount) {
  if (index < 0 || index >= itemCount) return std::nullopt;
  return static_cast<uint8_t>(index);
}

// The settings to write, or the message of the first field that fails.
std::optional<GeneralSettings> validate(const GeneralSettingsForm& form, MessageSink& messages) {
  GeneralSettings s;
  const auto fail = [&](const char* text) {
    messages.error(text);
    return std::nullopt;
  };
  const auto address = byteInRange(form.address, kMaxAddress);
  if (!address) return fail(kBadAddressText);
  const auto baud = selection(form.baudIndex, kBaudItemCount);
  if (!baud) return fail(kBadBaudText);
  const auto protocol = selection(form.protocolIndex, kProtocolItemCount);
  if (!protocol) return fail(kBadProtocolText);
  const auto inputType = selection(form.inputTypeIndex, kInputTypeItemCount);
  if (!inputType) return fail(kBadInputTypeText);
  const auto filter = byteInRange(form.filterPeriod, kMaxFilterPeriod);
  if (!filter) return fail(kBadFilterPeriodText);
  const auto archive = byteInRange(form.archivePeriod, kMaxArchivePeriod);
  if (!archive) return fail(kBadArchivePeriodText);

  s.address = *address;
  s.baudIndex = *baud;
  s.protocol = *protocol;
  s.inputType = *inputType;
  s.filterPeriod = *filter;
  s.archivePeriod = *archive;
  if (form.squareRoot) s.switches |= switch_bit::kSquareRoot;
  if (form.coldJunction) s.switches |= switch_bit::kColdJunction;
  if (form.scaling) s.switches |= switch_bit::kScaling;
  if (form.outputCurrent) s.switches |= switch_bit::kOutputCurrent;
  return s;
}

// The instrument's address, speed and protocol go first: a failure later
// leaves them written.
std::vector<BlockWrite> blocksOf(const GeneralSettings& s) {
  return {
      {kLinkSettingsWriteName, kLinkSettingsStart, kLinkSettingsCount, EncodeLinkSettings(s)},
      {kPeriodsWriteName, kPeriodsStart, kPeriodsCount, EncodePeriods(s)},
      {kSwitchesWriteName, kSwitchesStart, kSwitchesCount, EncodeSwitches(s)},
  };
}

}  // namespace

OperationOutcome ReadGeneralSettings(RegisterLink& link, OperationControls& controls,
                                     GeneralSettingsFields& fields, MessageSink& messages) {
  if (link.busy()) return OperationOutcome::kNotStarted;
  controls.stopMeasurementTimer();
  controls.setButtonEnabled(false);
  const ScopedTiming timing(link.parameters(), kStandardTiming);
  if (!StorePortAndCheck(link, controls.connection(), messages)) {
    controls.setButtonEnabled(true);
    return OperationOutcome::kPortError;
  }

  OperationOutcome outcome = OperationOutcome::kNoConnection;
  const auto image = DataImage::fromReadReply(
      link.readHoldingRegisters(kGeneralSettingsStart, kGeneralSettingsCount),
      kGeneralSettingsCount);
  const auto settings = image ? DecodeGeneralSettings(*image) : std::nullopt;
  if (settings) {
    fields.showSettings(formOf(*settings));
    outcome = OperationOutcome::kDone;
  } else {
    messages.error(kNoConnectionText);
  }
  controls.setButtonEnabled(true);
  return outcome;
}

OperationOutcome WriteGeneralSettings(RegisterLink& link, OperationControls& controls,
                                      const GeneralSettingsFields& fields, MessageSink& messages) {
  if (link.busy()) return OperationOutcome::kNotStarted;
  const WholeWrite whole(link);
  controls.stopMeasurementTimer();
  controls.setButtonEnabled(false);
  // Kept in the shared record: the write stores its set rather than passing it.
  link.parameters().timing = kStandardTiming;
  if (!StorePortAndCheck(link, controls.connection(), messages)) {
    controls.setButtonEnabled(true);
    return OperationOutcome::kPortError;
  }

  OperationOutcome outcome = OperationOutcome::kRefused;
  if (const auto settings = validate(fields.settingsForm(), messages)) {
    const BlockWriteReport report = WriteBlocks(link, blocksOf(*settings));
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
