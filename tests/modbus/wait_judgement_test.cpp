// The wait blocks in the pump between the instants it has to look. These tests
// judge the same scenarios with a loop that looks at every tick value, as a
// loop reading the tick without pause would, and require the same outcome at
// the same tick, however the pump's waits are cut short by events.

#include <gtest/gtest.h>

#include <random>

#include "link_rig.h"
#include "modbus/exchange.h"

namespace modbus {
namespace {

using testing::LinkRig;
using testing::ScriptedPort;
using Chunks = std::vector<ScriptedPort::Chunk>;

struct Judged {
  WaitOutcome outcome;
  uint32_t endTick;
  bool operator==(const Judged&) const = default;
};

int32_t ticksBetween(uint32_t from, uint32_t to) { return static_cast<int32_t>(to - from); }
bool signedBefore(uint32_t t, uint32_t r) {
  return static_cast<int32_t>(t) < static_cast<int32_t>(r);
}

int32_t arrivedBy(const Chunks& chunks, uint32_t writeTick, uint32_t t) {
  int32_t n = 0;
  for (const auto& c : chunks) {
    if (ticksBetween(writeTick, t) >= c.afterWriteMs) n += static_cast<int32_t>(c.bytes.size());
  }
  return n;
}

Judged judgeEveryTick(const Chunks& chunks, uint32_t start, const ExchangeTiming& timing) {
  uint32_t t = start;
  while (!(ticksBetween(start, t) >= timing.responseDelay || signedBefore(t, start))) ++t;
  int32_t n = arrivedBy(chunks, start, t);
  if (n <= 0) return {WaitOutcome::kNothingReceived, t};
  const uint32_t t1 = t;
  uint32_t last = t1;
  for (;; ++t) {
    if (ticksBetween(last, t) > timing.exchangeDelay) {
      last = t;
      if (arrivedBy(chunks, start, t) == n) return {WaitOutcome::kComplete, t};
      n = arrivedBy(chunks, start, t);
    }
    if (ticksBetween(t1, t) >= timing.overallLimit || signedBefore(t, t1)) {
      return {WaitOutcome::kStillReceiving, t};
    }
  }
}

enum class Wakes { kNone, kOnArrival, kRandom };

struct Scenario {
  uint32_t start;
  ExchangeTiming timing;
  Chunks chunks;
};

Judged judgeBlocking(const Scenario& s, Wakes wakes, std::mt19937& rng, LinkRig& rig) {
  rig.port.Open();
  rig.port.ScriptReply(s.chunks);
  rig.port.WriteString("request");
  if (wakes == Wakes::kOnArrival) rig.pump.WakeOnArrivalsOf(&rig.port);
  if (wakes == Wakes::kRandom) {
    rig.pump.WakeEarly([&rng] { return std::uniform_int_distribution<uint32_t>(1, 40)(rng); });
  }
  const WaitOutcome outcome = WaitForReply(rig.link(), s.timing);
  return {outcome, rig.clock.now()};
}

Scenario randomScenario(std::mt19937& rng) {
  auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  const uint32_t starts[] = {static_cast<uint32_t>(pick(0, 1 << 30)), 0x7FFFFFFFu - pick(0, 3000),
                             0xFFFFFFFFu - pick(0, 3000), 0x80000000u + pick(0, 100)};
  Scenario s;
  s.start = starts[pick(0, 3)];
  s.timing = {pick(0, 1500), pick(0, 1500), pick(0, 300)};
  if (pick(0, 4) == 0) s.timing.exchangeDelay = s.timing.overallLimit + pick(-2, 2);
  const int pieces = pick(0, 8);
  int at = pick(0, 1800);
  for (int i = 0; i < pieces; ++i) {
    s.chunks.push_back({at, ByteString(static_cast<std::size_t>(pick(1, 20)), 'x')});
    at += pick(0, 350);
  }
  return s;
}

TEST(WaitJudgement, BlockingWaitDecidesAsAWaitLookingAtEveryTick) {
  std::mt19937 rng(20240229);
  for (int i = 0; i < 1500; ++i) {
    const Scenario s = randomScenario(rng);
    const Judged expected = judgeEveryTick(s.chunks, s.start, s.timing);
    for (Wakes wakes : {Wakes::kNone, Wakes::kOnArrival, Wakes::kRandom}) {
      LinkRig rig(s.start);
      const Judged got = judgeBlocking(s, wakes, rng, rig);
      ASSERT_EQ(got, expected) << "scenario " << i << " wakes " << static_cast<int>(wakes)
                               << " start " << s.start << " timing " << s.timing.overallLimit << "/"
                               << s.timing.responseDelay << "/" << s.timing.exchangeDelay;
      ASSERT_FALSE(rig.pump.spun());
      ASSERT_LE(rig.pump.longestStandstill(), 2);
      if (wakes == Wakes::kNone) {
        // One block per decision instant: the response delay, each check, the limit.
        const int32_t span = ticksBetween(s.start, got.endTick);
        ASSERT_LE(rig.pump.calls(), 2 * (span / (s.timing.exchangeDelay + 1) + 3));
      }
    }
  }
}

}  // namespace
}  // namespace modbus
