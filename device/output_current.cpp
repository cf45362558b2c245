#include "device/output_current.h"

#include <array>
#include <cstdint>
#include <optional>

#include "device/block_writes.h"
#include "device/calibration_command.h"
#include "device/data_image.h"
#include "device/general_settings_block.h"
#include "device/link_messages.h"
#include "device/link_parameters.h"
#include "device/operation_start.h"
#include "device/scoped_timing.h"

namespace device {

namespace {

// The instrument's codes for 4, 8, 12, 16 and 20 mA, points A00..A04.
constexpr std::array<int16_t, 5> kCurrentCodes = {1464, 2930, 4394, 5860, 7324};

std::optional<int16_t> currentCodeOf(int point) {
  if (point < 0 || static_cast<size_t>(point) >= kCurrentCodes.size()) return std::nullopt;
  return kCurrentCodes[static_cast<size_t>(point)];
}

// Register 12 as read with the output-current switch ("Включить выходной
// ток") cleared; the other switches and the second byte go back as read.
std::optional<modbus::ByteString> switchedOff(const modbus::ExchangeResult& reply) {
  const auto image = DataImage::fromReadReply(reply, kSwitchesCount);
  if (!image) return std::nullopt;
  DataImage written = *image;
  written.setU8(0, static_cast<uint8_t>(*image->u8(0) & ~switch_bit::kOutputCurrent));
  return written.bytes();
}

}  // namespace

OperationOutcome SetOutputCurrent(RegisterLink& link, OperationControls& controls,
                                  const CalibrationPointFields& fields,
                                  GeneralSettingsFields& settings, MessageSink& messages) {
  if (link.busy()) return OperationOutcome::kNotStarted;
  const WholeWrite whole(link);
  controls.stopMeasurementTimer();
  const auto code = currentCodeOf(fields.calibrationPointForm().pointIndex);
  if (!code) {
    messages.error(kNotAnOutputCurrentPointText);
    return OperationOutcome::kRefused;
  }
  const ScopedTiming timing(link.parameters(), kStandardTiming);
  if (!StorePortAndCheck(link, controls.connection(), messages)) {
    return OperationOutcome::kPortError;
  }

  const auto switches = switchedOff(link.readHoldingRegisters(kSwitchesStart, kSwitchesCount));
  BlockWriteReport report;
  const std::vector<BlockWrite> blocks = {
      {"выключение выходного тока", kSwitchesStart, kSwitchesCount,
       switches.value_or(modbus::ByteString())},
      {"команда установки тока", kCalibrationCommandStart, kCalibrationCommandCount,
       EncodeCalibrationCommand(kSetOutputCurrentCommand, *code)},
  };
  if (switches) {
    report = WriteBlocks(link, blocks);
  } else {
    report.addNotSent(blocks, 0);
  }
  // Once the instrument holds the switch cleared, so does the page.
  if (report.fate(0) == BlockFate::kWritten) {
    GeneralSettingsForm form = settings.settingsForm();
    form.outputCurrent = false;
    settings.showSettings(form);
  }
  if (!report.complete()) {
    messages.error(ReportedFailure(kNoConnectionText, report));
    return OperationOutcome::kNoConnection;
  }
  messages.confirmation(std::string(kOutputCurrentSetText) + "\n" + kOutputCurrentStaysOffText);
  return OperationOutcome::kDone;
}

}  // namespace device
