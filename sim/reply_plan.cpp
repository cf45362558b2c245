#include "sim/reply_plan.h"

#include <cctype>

#include "modbus/frame_codec.h"
#include "sim/modbus_slave.h"

namespace sim {

namespace {

// Replaces the two LRC digits (before CR LF) with those of LRC + 1.
void corruptLrc(std::string& frame) {
  const std::size_t at = frame.size() - 4;
  const uint8_t lrc = static_cast<uint8_t>(modbus::HexDigitValue(frame[at]) * 16 +
                                           modbus::HexDigitValue(frame[at + 1]));
  const std::string digits = modbus::BuildFrame(std::string(1, static_cast<char>(lrc + 1)));
  frame.replace(at, 2, digits.substr(1, 2));
}

}  // namespace

ReplyPlan PlanReply(Fault fault, int paramMs, const std::string& request,
                    const std::string& reply) {
  ReplyPlan plan;
  std::string payload = reply;
  switch (fault) {
    case Fault::kSilent:
      plan.silent = true;
      return plan;
    case Fault::kWrongAddress:
      payload[0] = static_cast<char>(static_cast<uint8_t>(payload[0]) + 1);
      break;
    case Fault::kExceptionAll:
      payload = ExceptionReply(request, exception_code::kDeviceFailure);
      break;
    default:
      break;
  }
  plan.first = modbus::BuildFrame(payload);
  switch (fault) {
    case Fault::kBadLrc:
      corruptLrc(plan.first);
      break;
    case Fault::kLowerCaseHex:
      for (char& c : plan.first) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      break;
    case Fault::kSplitReply:
      plan.second = plan.first.substr(plan.first.size() / 2);
      plan.first.resize(plan.first.size() / 2);
      plan.pauseMs = paramMs > 0 ? paramMs : kDefaultSplitPauseMs;
      break;
    case Fault::kExtraDelay:
      plan.extraDelayMs = paramMs > 0 ? paramMs : kDefaultExtraDelayMs;
      break;
    case Fault::kEndlessStream:
      plan.stream = true;
      break;
    default:
      break;
  }
  return plan;
}

}  // namespace sim
