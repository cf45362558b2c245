#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "device/current_data_block.h"
#include "device/message_sink.h"
#include "device/operation_start.h"
#include "device/register_link.h"

namespace device {

inline constexpr const char* kNoAnswerText = "Прибор не отвечает";
inline constexpr const char* kRelayClosedText = "Замкнуто";
inline constexpr const char* kRelayOpenText = "Разомкнуто";
inline constexpr int kFaultIndicatorCount = 11;  // bits 0..10; 11..15 show only in the number
inline constexpr int kSetpointCount = 4;

// The four value fields: StaticTextIzmerDateTime, -Val, -Fiz and -XC.
struct MeasuredTexts {
  std::string dateTime;
  std::string parameter;
  std::string physical;
  std::string coldJunction;
  bool operator==(const MeasuredTexts&) const = default;
};

// StaticTextErr, the fault indicators (true = red), the setpoint states
// (true = red) and the relay texts.
struct StateIndicators {
  std::string errorCode;
  std::array<bool, kFaultIndicatorCount> faults{};
  std::array<bool, kSetpointCount> setpoints{};
  std::array<std::string, kSetpointCount> relays;
  bool operator==(const StateIndicators&) const = default;
};

MeasuredTexts FormatMeasuredTexts(const CurrentData& data, std::string_view decimalSeparator);
StateIndicators FormatStateIndicators(const CurrentData& data);

class MeasurementView {
 public:
  virtual ~MeasurementView() = default;
  virtual void showValues(const MeasuredTexts& texts) = 0;
  virtual void showStates(const StateIndicators& states) = 0;
};

// Hears how each poll that belongs to the running measurement ended (the
// trend window): the decoded block, or a poll without a valid reply.
class MeasurementListener {
 public:
  virtual ~MeasurementListener() = default;
  // Just before the poll's request goes out.
  virtual void requesting() {}
  virtual void measured(const CurrentData& data) = 0;
  virtual void missed() = 0;
};

enum class PollOutcome {
  kHeldBack,  // another exchange holds the link: nothing done this tick
  kSkipped,   // polling stopped while the exchange waited
  kShown,
  kNoAnswer,  // "Прибор не отвечает", values emptied, indicators kept
};

// The poll of the page "Измерения". Each tick reads the current data block
// with the shared record as it is at that moment; no port check, no message
// box.
class MeasurementPoll {
 public:
  MeasurementPoll(RegisterLink& link, MeasurementView& view) : link_(link), view_(view) {}

  // "Начать измерение": the selected port and speed and the fast timing set
  // into the shared record, then the port check. True when polling may begin.
  bool start(const ConnectionSelection& selection, MessageSink& messages);

  PollOutcome poll(std::string_view decimalSeparator);

  // "Остановить измерение": empties the value fields. A poll whose exchange
  // is still waiting shows nothing when it ends.
  void stop();

  // Null: nobody listens.
  void setListener(MeasurementListener* listener) { listener_ = listener; }

 private:
  RegisterLink& link_;
  MeasurementView& view_;
  MeasurementListener* listener_ = nullptr;
  uint64_t session_ = 0;  // changes at every start and stop
};

}  // namespace device
