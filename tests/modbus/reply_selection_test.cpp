// A late reply ahead of the answer, and the fast mode that ends an exchange
// as soon as the answer is in.

#include <gtest/gtest.h>

#include "link_rig.h"
#include "modbus/exchange.h"
#include "modbus/frame_codec.h"
#include "modbus/result_codes.h"

namespace modbus {
namespace {

using testing::bytes;
using testing::LinkRig;
using Chunks = std::vector<testing::ScriptedPort::Chunk>;

// Read one holding register at address 0; the clock read (04h, 7 registers)
// is the request whose late reply arrives first.
const ByteString kRequest = bytes({0x00, 0x03, 0x00, 0x00, 0x00, 0x01});
const ByteString kAnswer = bytes({0x00, 0x03, 0x02, 0x12, 0x34});
const ByteString kStale = bytes({0x00, 0x04, 0x02, 0x00, 0x07});
const ByteString kOtherCount = bytes({0x00, 0x03, 0x04, 0x00, 0x07, 0x00, 0x01});
constexpr ExchangeTiming kTiming{1000, 100, 20};

struct Outcome {
  ExchangeResult result;
  uint32_t elapsed;
};

Outcome exchange(ExchangeMode mode, const Chunks& reply, int baudIndex = 6) {
  LinkRig rig;
  rig.pump.WakeOnArrivalsOf(&rig.port);
  rig.port.ScriptReply(reply);
  LinkServices link = rig.link();
  link.mode = mode;
  const uint32_t start = rig.clock.now();
  ExchangeResult result = Exchange(link, 1, baudIndex, kTiming, kRequest);
  return {result, rig.clock.now() - start};
}

TEST(ReplySelection, TheFrameAnsweringTheRequestIsTakenInEitherMode) {
  const ByteString answer = BuildFrame(kAnswer);
  const struct {
    const char* what;
    Chunks reply;
    ExchangeResult window;  // the window's timing
    ExchangeResult fast;
  } cases[] = {
      {"answer alone", {{10, answer}}, kAnswer, kAnswer},
      {"late reply of another function first",
       {{0, BuildFrame(kStale)}, {10, answer}},
       kAnswer,
       kAnswer},
      {"late reply of another length first",
       {{0, BuildFrame(kOtherCount)}, {10, answer}},
       kAnswer,
       kAnswer},
      {"late reply with a pause before the answer",
       {{0, BuildFrame(kStale)}, {60, answer}},
       kAnswer,
       kAnswer},
      {"a stale frame alone is judged as it came", {{0, BuildFrame(kStale)}}, kStale, kStale},
      {"an answer cut short keeps its code",
       {{10, answer.substr(0, 9)}},
       CodeResult(kTooShort),
       CodeResult(kTooShort)},
      {"a bad check sum keeps its code",
       {{10, answer.substr(0, answer.size() - 4) + "00\r\n"}},
       CodeResult(kLrcError),
       CodeResult(kLrcError)},
      {"nothing", {}, CodeResult(kNoAnswer), CodeResult(kNoAnswer)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(exchange(ExchangeMode::kWindowTiming, c.reply).result, c.window);
    EXPECT_EQ(exchange(ExchangeMode::kFast, c.reply).result, c.fast);
  }
}

TEST(ReplySelection, FastModeEndsOnTheAnswerAndWaitsOutEverythingElse) {
  const ByteString answer = BuildFrame(kAnswer);
  const size_t half = answer.size() / 2;
  // The window's timing: 100 ms response delay, then silence over 20 ms.
  EXPECT_GE(exchange(ExchangeMode::kWindowTiming, {{10, answer}}).elapsed, 120u);

  const Outcome atOnce = exchange(ExchangeMode::kFast, {{10, answer}});
  EXPECT_EQ(atOnce.result, kAnswer);
  EXPECT_LE(atOnce.elapsed, 12u);

  // A split reply is taken whole, however long the pause.
  const Outcome split =
      exchange(ExchangeMode::kFast, {{10, answer.substr(0, half)}, {90, answer.substr(half)}});
  EXPECT_EQ(split.result, kAnswer);
  EXPECT_LE(split.elapsed, 92u);

  // A stale frame does not end the wait; the answer after it does.
  const Outcome stale = exchange(ExchangeMode::kFast, {{0, BuildFrame(kStale)}, {40, answer}});
  EXPECT_EQ(stale.result, kAnswer);
  EXPECT_LE(stale.elapsed, 42u);

  // Silence gives up at the response delay, as the window does, plus the
  // time the request (17 characters) and its reply (15) take on the wire.
  for (const auto& [baudIndex, wireMs] : {std::pair{6, 3u}, {0, 134u}}) {
    SCOPED_TRACE(BaudRateOfIndex(baudIndex));
    const Outcome silent = exchange(ExchangeMode::kFast, {}, baudIndex);
    EXPECT_EQ(silent.result, CodeResult(kNoAnswer));
    EXPECT_GE(silent.elapsed, 100u + wireMs);
    EXPECT_LE(silent.elapsed, 102u + wireMs);
    // The window's timing knows no wire time.
    EXPECT_LE(exchange(ExchangeMode::kWindowTiming, {}, baudIndex).elapsed, 102u);
  }
}

}  // namespace
}  // namespace modbus
