// Arbitrary bytes on the simulator's line: the frame reader cuts frames, the
// slave answers them and the reply is planned under a fault picked by the input.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "modbus/frame_codec.h"
#include "sim/frame_reader.h"
#include "sim/instrument.h"
#include "sim/modbus_slave.h"
#include "sim/reply_plan.h"

namespace {

void check(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const auto fault = static_cast<sim::Fault>(data[0] % 9);
  const std::size_t chunk = data[1] % 16 + 1;  // how the line splits the input
  const std::string input(reinterpret_cast<const char*>(data + 2), size - 2);

  sim::Instrument instrument;
  sim::FrameReader reader;
  std::vector<sim::FrameEvent> events;
  for (std::size_t at = 0; at < input.size(); at += chunk) {
    reader.feed(std::string_view(input).substr(at, chunk), events);
  }
  for (const sim::FrameEvent& e : events) {
    if (!e.good) continue;
    // A good frame re-encodes to what the codec would have sent.
    check(e.payload.size() >= 2);
    const auto reply = sim::HandleRequest(instrument, e.payload);
    instrument.advance(std::chrono::milliseconds(100));
    if (!reply) continue;
    check(reply->size() >= 3);
    check((*reply)[0] == e.payload[0]);
    const auto function = static_cast<uint8_t>((*reply)[1]);
    check(function == static_cast<uint8_t>(e.payload[1]) ||
          function == (static_cast<uint8_t>(e.payload[1]) | 0x80));
    const sim::ReplyPlan plan = sim::PlanReply(fault, 0, e.payload, *reply);
    if (fault == sim::Fault::kNone) check(modbus::DecodeReply(plan.first) == *reply);
    if (!plan.silent) check(!plan.first.empty());
  }
  return 0;
}
