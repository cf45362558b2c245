#include "device/debug_data_texts.h"

#include "device/current_data_block.h"
#include "device/data_image.h"
#include "device/general_single_text.h"

namespace device {

namespace {

constexpr size_t kBlockResultLength = 3 + 2 * kCurrentDataCount;

}  // namespace

DebugDataTexts FormatDebugDataTexts(const modbus::ExchangeResult& result,
                                    std::string_view decimalSeparator) {
  if (result.size() < kBlockResultLength) return {};
  const auto image =
      DataImage::fromReadReply(result.substr(0, kBlockResultLength), kCurrentDataCount);
  const auto data = image ? DecodeCurrentData(*image) : std::nullopt;
  if (!data) return {};
  const auto number = [](unsigned value) { return std::to_string(value); };
  const auto single = [&](float value) { return FormatGeneralSingle(value, decimalSeparator); };
  DebugDataTexts t;
  t.seconds = "Сек " + number(data->clock.seconds);
  t.minutes = "Мин " + number(data->clock.minutes);
  t.hours = "Час " + number(data->clock.hours);
  t.dayOfWeek = "Нед " + number(data->clock.dayOfWeek);
  t.day = "День " + number(data->clock.day);
  t.month = "Мес " + number(data->clock.month);
  t.year = "Год " + number(data->clock.year);
  t.faultWord = "Ошибка: " + number(static_cast<uint16_t>(data->faultWord));
  t.coldJunction = "XC " + single(data->coldJunction);
  t.physical = "Физ " + single(data->physical);
  t.parameter = "Знач " + single(data->parameter);
  return t;
}

}  // namespace device
