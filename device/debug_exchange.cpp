#include "device/debug_exchange.h"

#include <array>
#include <optional>
#include <utility>

#include "device/hex_text.h"
#include "device/number_parsing.h"
#include "modbus/frame_codec.h"
#include "modbus/requests.h"

namespace device {

namespace {

struct DebugRequest {
  uint8_t portNumber = 0;
  int baudIndex = -1;
  modbus::ExchangeTiming timing{};
  uint8_t address = 0;
  int32_t start = 0;
  int32_t count = 0;
};

// A request carries the address in 8 bits and start and count in 16: a larger
// value would go out cut, to another device or register (a start of 74536
// would write register 9000, a calibration command).
constexpr int32_t kMaxAddress = 255;
constexpr int32_t kMaxRegister = 65535;

bool outside(int32_t value, int32_t highest) { return value < 0 || value > highest; }

// The integers in field order, the first text that is not one reported; then
// the ranges of address, start and count.
std::optional<DebugRequest> readRequest(const DebugExchangeForm& form, MessageSink& messages) {
  const std::array<const std::string*, 6> texts = {&form.overallLimit,  &form.responseDelay,
                                                   &form.exchangeDelay, &form.address,
                                                   &form.start,         &form.count};
  std::array<int32_t, 6> values{};
  for (size_t i = 0; i < texts.size(); ++i) {
    const auto value = ParseInteger(*texts[i]);
    if (!value) {
      messages.error(IntegerConversionErrorText(*texts[i]));
      return std::nullopt;
    }
    values[i] = *value;
  }
  const std::array<std::pair<int32_t, const char*>, 3> ranges = {{
      {kMaxAddress, kAddressRangeText},
      {kMaxRegister, kStartRangeText},
      {kMaxRegister, kCountRangeText},
  }};
  for (size_t i = 0; i < ranges.size(); ++i) {
    if (outside(values[3 + i], ranges[i].first)) {
      messages.error(ranges[i].second);
      return std::nullopt;
    }
  }
  DebugRequest r;
  r.portNumber = static_cast<uint8_t>(form.portIndex + 1);
  r.baudIndex = form.baudIndex;
  r.timing = {values[0], values[1], values[2]};
  r.address = static_cast<uint8_t>(values[3]);
  r.start = values[4];
  r.count = values[5];
  return r;
}

// Bytes of `count` coils, one bit each, a started byte counted whole.
int64_t coilByteCount(int32_t count) { return int64_t{count} / 8 + (count % 8 != 0 ? 1 : 0); }
int64_t registerByteCount(int32_t count) { return 2 * int64_t{count}; }

}  // namespace

OperationOutcome RunDebugExchange(DeviceLink& link, DebugExchangeView& view, MessageSink& messages,
                                  std::string_view decimalSeparator) {
  if (link.busy()) return OperationOutcome::kNotStarted;
  const DebugExchangeForm form = view.exchangeForm();
  const auto request = readRequest(form, messages);
  if (!request) return OperationOutcome::kRefused;
  view.clearExchangeFields();

  const DebugRequest& q = *request;
  modbus::ByteString data;
  if (form.commandIndex == kDebugWriteMultipleCoils ||
      form.commandIndex == kDebugWriteMultipleRegisters) {
    const auto parsed = ParseHexText(form.data + " ");
    if (!parsed) {
      messages.error(kBadHexDataText);
      return OperationOutcome::kRefused;
    }
    data = *parsed;
    const bool coils = form.commandIndex == kDebugWriteMultipleCoils;
    const int64_t expected = coils ? coilByteCount(q.count) : registerByteCount(q.count);
    if (static_cast<int64_t>(data.size()) != expected) {
      messages.error(coils ? kCoilByteCountText : kRegisterByteCountText);
      return OperationOutcome::kRefused;
    }
  } else if (form.commandIndex < kDebugReadCoils ||
             form.commandIndex > kDebugWriteMultipleRegisters) {
    return OperationOutcome::kDone;
  }

  modbus::ExchangeResult result;
  const bool ran = link.runExclusive([&](const modbus::LinkServices& services) {
    const auto read = [&](auto function) {
      return function(services, q.portNumber, q.baudIndex, q.timing, q.address, q.start, q.count);
    };
    const auto write = [&](auto function) {
      return function(services, q.portNumber, q.baudIndex, q.timing, q.address, q.start, q.count,
                      data);
    };
    switch (form.commandIndex) {
      case kDebugReadCoils:
        result = read(modbus::ReadCoils);
        break;
      case kDebugReadDiscreteInputs:
        result = read(modbus::ReadDiscreteInputs);
        break;
      case kDebugReadHoldingRegisters:
        result = read(modbus::ReadHoldingRegisters);
        break;
      case kDebugReadInputRegisters:
        result = read(modbus::ReadInputRegisters);
        break;
      case kDebugWriteMultipleCoils:
        result = write(modbus::WriteMultipleCoils);
        break;
      default:
        result = write(modbus::WriteMultipleRegisters);
        break;
    }
  });
  if (!ran) return OperationOutcome::kNotStarted;

  if (form.commandIndex == kDebugReadInputRegisters)
    view.showDataTexts(FormatDebugDataTexts(result, decimalSeparator));
  view.showResultDump(modbus::HexDump(result));
  return OperationOutcome::kDone;
}

}  // namespace device
