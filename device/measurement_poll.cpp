#include "device/measurement_poll.h"

#include "device/data_image.h"
#include "device/date_time_text.h"
#include "device/number_text.h"

namespace device {

namespace {

constexpr int kColdJunctionDecimals = 1;
constexpr int kValueDecimals = 3;

bool bit(unsigned value, int n) { return ((value >> n) & 1u) != 0; }

}  // namespace

MeasuredTexts FormatMeasuredTexts(const CurrentData& data, std::string_view decimalSeparator) {
  const ClockReading& c = data.clock;
  MeasuredTexts texts;
  // The seconds are not shown.
  texts.dateTime = DateText(c.day, c.month, c.year) + " " + TwoDigitText(c.hours) + ":" +
                   TwoDigitText(c.minutes);
  texts.parameter = FormatMeasuredValue(data.parameter, kValueDecimals, decimalSeparator);
  texts.physical = FormatMeasuredValue(data.physical, kValueDecimals, decimalSeparator);
  texts.coldJunction =
      FormatMeasuredValue(data.coldJunction, kColdJunctionDecimals, decimalSeparator);
  return texts;
}

StateIndicators FormatStateIndicators(const CurrentData& data) {
  StateIndicators states;
  states.errorCode = "Код ошибки: " + std::to_string(data.faultWord);
  const auto word = static_cast<uint16_t>(data.faultWord);
  for (int n = 0; n < kFaultIndicatorCount; ++n) states.faults[n] = bit(word, n);
  for (int n = 0; n < kSetpointCount; ++n) {
    states.setpoints[n] = bit(data.setpointStates, n);
    states.relays[n] = bit(data.relayStates, n) ? kRelayClosedText : kRelayOpenText;
  }
  return states;
}

bool MeasurementPoll::start(const ConnectionSelection& selection, MessageSink& messages) {
  if (link_.busy()) return false;
  link_.parameters().timing = kFastTiming;
  ++session_;
  return StorePortAndCheck(link_, selection, messages);
}

PollOutcome MeasurementPoll::poll(std::string_view decimalSeparator) {
  if (link_.busy()) return PollOutcome::kHeldBack;
  const uint64_t session = session_;
  if (listener_) listener_->requesting();
  const auto image = DataImage::fromReadReply(
      link_.readInputRegisters(kCurrentDataStart, kCurrentDataCount), kCurrentDataCount);
  // Stopped (or stopped and started again) while the exchange waited: the
  // fields now belong to the stop.
  if (session != session_) return PollOutcome::kSkipped;
  const auto data = image ? DecodeCurrentData(*image) : std::nullopt;
  if (!data) {
    view_.showValues({kNoAnswerText, "", "", ""});
    if (listener_) listener_->missed();
    return PollOutcome::kNoAnswer;
  }
  view_.showValues(FormatMeasuredTexts(*data, decimalSeparator));
  view_.showStates(FormatStateIndicators(*data));
  if (listener_) listener_->measured(*data);
  return PollOutcome::kShown;
}

void MeasurementPoll::stop() {
  ++session_;
  view_.showValues({});
}

}  // namespace device
