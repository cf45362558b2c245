#include "modbus/exchange.h"

#include <gtest/gtest.h>

#include <climits>

#include "link_rig.h"
#include "modbus/frame_codec.h"
#include "modbus/result_codes.h"

namespace modbus {
namespace {

using testing::bytes;
using testing::LinkRig;
using Log = std::vector<std::string>;

const ByteString kRequest = bytes({0x00, 0x03, 0x00, 0x00, 0x00, 0x01});
const ByteString kReplyPayload = bytes({0x00, 0x03, 0x02, 0x12, 0x34});
// overall limit, response delay, exchange delay
constexpr ExchangeTiming kTiming{1000, 100, 20};

bool contains(const Log& log, const std::string& prefix) {
  for (const auto& e : log) {
    if (e.rfind(prefix, 0) == 0) return true;
  }
  return false;
}

TEST(Exchange, SetsUpWritesWaitsReadsClosesThenShowsDumps) {
  LinkRig rig;
  const ByteString frame = BuildFrame(kRequest);
  const ByteString raw = BuildFrame(kReplyPayload);
  rig.port.ScriptReply({{10, raw}});

  EXPECT_EQ(Exchange(rig.link(), 3, 2, kTiming, kRequest), kReplyPayload);
  EXPECT_EQ(rig.calls(), (Log{"Close", "SetComNumber 3", "SetBaudRate 9600", "Open",
                              "QueryDump " + HexDump(frame), "WriteString " + frame, "ReadString",
                              "Close", "AnswerDump " + HexDump(raw)}));
  EXPECT_FALSE(rig.port.isOpen());
}

TEST(Exchange, BaudIndexOutsideTableKeepsTheSpeed) {
  const uint32_t rates[] = {2400, 4800, 9600, 19200, 38400, 57600, 115200};
  for (int i = 0; i < 7; ++i) {
    LinkRig rig;
    Exchange(rig.link(), 1, i, kTiming, kRequest);
    EXPECT_EQ(rig.port.baudRate(), rates[i]);
  }
  for (int index : {-1, 7, 100, INT_MIN, INT_MAX}) {
    LinkRig rig;
    Exchange(rig.link(), 1, index, kTiming, kRequest);
    EXPECT_FALSE(contains(rig.log, "SetBaudRate")) << index;
    EXPECT_TRUE(contains(rig.log, "Open"));
  }
}

TEST(Exchange, SetUpFailuresGivePortOpenErrorBeforeAnythingIsShown) {
  for (const char* step : {"Close", "SetComNumber", "SetBaudRate", "Open"}) {
    LinkRig rig;
    rig.port.ReplyAtOnce(BuildFrame(kReplyPayload));
    rig.port.FailOn(step);
    EXPECT_EQ(Exchange(rig.link(), 1, 0, kTiming, kRequest), CodeResult(0x03)) << step;
    EXPECT_FALSE(contains(rig.log, "QueryDump")) << step;
    EXPECT_FALSE(contains(rig.log, "WriteString")) << step;
  }
}

TEST(Exchange, LaterPortFailuresGiveHardwareErrorAndKeepTheReplyDump) {
  const struct {
    const char* step;
    int occurrence;
  } failures[] = {
      {"WriteString", 1}, {"InBufUsed", 1}, {"InBufUsed", 2}, {"ReadString", 1}, {"Close", 2}};
  for (const auto& f : failures) {
    LinkRig rig;
    rig.port.ReplyAtOnce(BuildFrame(kReplyPayload));
    rig.port.FailOn(f.step, f.occurrence);
    EXPECT_EQ(Exchange(rig.link(), 1, 0, kTiming, kRequest), CodeResult(0x01)) << f.step;
    EXPECT_TRUE(contains(rig.log, "QueryDump")) << f.step;
    EXPECT_FALSE(contains(rig.log, "AnswerDump")) << f.step;
  }
}

TEST(Exchange, NoAnswerLeavesThePortOpenAndTheReplyDumpAlone) {
  LinkRig rig;
  EXPECT_EQ(Exchange(rig.link(), 1, 0, kTiming, kRequest), CodeResult(0x02));
  EXPECT_TRUE(rig.port.isOpen());
  EXPECT_TRUE(contains(rig.log, "QueryDump"));
  EXPECT_FALSE(contains(rig.log, "AnswerDump"));
  EXPECT_FALSE(contains(rig.log, "ReadString"));
  EXPECT_EQ(rig.clock.now(), 1000u + 100u);
}

TEST(Exchange, RejectedReplyIsShownBeforeItsCodeIsReturned) {
  LinkRig rig;
  rig.port.ReplyAtOnce("garbage in reply");
  EXPECT_EQ(Exchange(rig.link(), 1, 0, kTiming, kRequest), CodeResult(0x04));
  EXPECT_EQ(rig.calls().back(), "AnswerDump " + HexDump("garbage in reply"));
  EXPECT_FALSE(rig.port.isOpen());
}

TEST(Exchange, ObserverIsOptional) {
  LinkRig rig;
  rig.port.ReplyAtOnce(BuildFrame(kReplyPayload));
  LinkServices link{rig.port, rig.clock, rig.pump, nullptr};
  EXPECT_EQ(Exchange(link, 1, 0, kTiming, kRequest), kReplyPayload);
}

TEST(WaitForReply, ZeroResponseDelayLooksAtOnce) {
  LinkRig rig;
  rig.port.ScriptReply({{1, BuildFrame(kReplyPayload)}});
  EXPECT_EQ(Exchange(rig.link(), 1, 0, {1000, 0, 20}, kRequest), CodeResult(0x02));

  LinkRig atOnce;
  atOnce.port.ReplyAtOnce(BuildFrame(kReplyPayload));
  EXPECT_EQ(Exchange(atOnce.link(), 1, 0, {1000, 0, 20}, kRequest), kReplyPayload);
}

TEST(WaitForReply, ExchangeDelayAtLeastTheLimitChecksOnlyWhenTheTickJumpsPastIt) {
  for (const ExchangeTiming timing : {ExchangeTiming{50, 10, 50}, ExchangeTiming{50, 10, 80}}) {
    LinkRig rig;
    rig.port.ReplyAtOnce(BuildFrame(kReplyPayload));
    EXPECT_EQ(Exchange(rig.link(), 1, 0, timing, kRequest), CodeResult(0x02));
    EXPECT_EQ(rig.clock.now(), 1000u + 10u + 50u);
  }
  // A coarse tick that lands more than the exchange delay past the start of
  // the receive phase in the pass that reaches the limit lets the check happen.
  LinkRig coarse;
  coarse.pump.OvershootBy(16);
  coarse.port.ReplyAtOnce(BuildFrame(kReplyPayload));
  EXPECT_EQ(Exchange(coarse.link(), 1, 0, {50, 10, 50}, kRequest), kReplyPayload);
}

TEST(WaitForReply, DeviceThatNeverPausesEndsAtResponseDelayPlusLimit) {
  LinkRig rig;
  std::vector<testing::ScriptedPort::Chunk> stream;
  for (int ms = 0; ms < 10000; ++ms) stream.push_back({ms, "0"});
  rig.port.ScriptReply(stream);
  EXPECT_EQ(Exchange(rig.link(), 1, 0, {500, 100, 5}, kRequest), CodeResult(0x02));
  EXPECT_EQ(rig.clock.now(), 1000u + 100u + 500u);
  EXPECT_FALSE(rig.pump.spun());
}

TEST(WaitForReply, ReplyInPiecesIsCutAtTheFirstPause) {
  // Response delay 10, exchange delay 20: the count is compared at 31, 52, ...
  // after the write; a piece arriving after a check that saw no change is lost.
  const ExchangeTiming timing{1000, 10, 20};
  const ByteString raw = BuildFrame(kReplyPayload);
  const ByteString head = raw.substr(0, 12);
  LinkRig cut;
  cut.port.ScriptReply({{5, head}, {32, raw.substr(12)}});
  EXPECT_EQ(Exchange(cut.link(), 1, 0, timing, kRequest), CodeResult(0x06));
  EXPECT_EQ(cut.calls().back(), "AnswerDump " + HexDump(head));

  LinkRig whole;
  whole.port.ScriptReply({{5, head}, {31, raw.substr(12)}});
  EXPECT_EQ(Exchange(whole.link(), 1, 0, timing, kRequest), kReplyPayload);
  EXPECT_EQ(whole.clock.now(), 1000u + 52u);
}

TEST(WaitForReply, CountsThroughThe32BitWrap) {
  LinkRig rig(0xFFFFFFFFu - 50);
  rig.port.ScriptReply({{80, BuildFrame(kReplyPayload)}});
  EXPECT_EQ(Exchange(rig.link(), 1, 0, kTiming, kRequest), kReplyPayload);
  // Response delay, then one check period of exchange delay + 1.
  EXPECT_EQ(rig.clock.now(), 0xFFFFFFFFu - 50 + 100 + 21);
}

TEST(WaitForReply, SignedWrapEndsEitherPhase) {
  // The tick compared as signed drops below its start when it passes 2^31.
  const uint32_t start = 0x7FFFFFFFu - 50;
  LinkRig response(start);
  response.port.ScriptReply({{80, BuildFrame(kReplyPayload)}});
  EXPECT_EQ(Exchange(response.link(), 1, 0, kTiming, kRequest), CodeResult(0x02));
  EXPECT_EQ(response.clock.now(), 0x80000000u);

  LinkRig receive(start);
  receive.port.ScriptReply({{5, BuildFrame(kReplyPayload)}});
  EXPECT_EQ(Exchange(receive.link(), 1, 0, {1000, 20, 50}, kRequest), CodeResult(0x02));
  EXPECT_EQ(receive.clock.now(), 0x80000000u);
}

TEST(WaitForReply, BlocksInsteadOfSpinning) {
  LinkRig silent;
  EXPECT_EQ(Exchange(silent.link(), 1, 0, {1000, 2000, 20}, kRequest), CodeResult(0x02));
  EXPECT_LE(silent.pump.calls(), 3);

  LinkRig answered;
  answered.port.ScriptReply({{700, BuildFrame(kReplyPayload)}});
  EXPECT_EQ(Exchange(answered.link(), 1, 0, {1000, 2000, 20}, kRequest), kReplyPayload);
  EXPECT_LE(answered.pump.calls(), 6);

  // Window events every millisecond: many passes, but never a standstill.
  LinkRig busyWindow;
  busyWindow.pump.WakeEarly([] { return 1u; });
  busyWindow.port.ScriptReply({{700, BuildFrame(kReplyPayload)}});
  EXPECT_EQ(Exchange(busyWindow.link(), 1, 0, {1000, 2000, 20}, kRequest), kReplyPayload);
  EXPECT_LE(busyWindow.pump.longestStandstill(), 2);
  EXPECT_FALSE(busyWindow.pump.spun());
}

TEST(WaitForReply, NegativeExchangeDelayChecksEveryPassWithoutHanging) {
  LinkRig rig;
  rig.port.ReplyAtOnce(BuildFrame(kReplyPayload));
  EXPECT_EQ(Exchange(rig.link(), 1, 0, {1000, 10, -5}, kRequest), kReplyPayload);
  EXPECT_FALSE(rig.pump.spun());
}

}  // namespace
}  // namespace modbus
