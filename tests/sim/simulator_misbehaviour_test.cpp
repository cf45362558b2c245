#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "modbus/frame_codec.h"
#include "sim/simulator.h"
#include "test_master.h"

namespace sim {
namespace {

using namespace std::chrono_literals;
using test::bytes;
using test::eventually;
using test::TestMaster;
using Answer = LoggedRequest::Answer;

const std::string kReadIdentification = bytes({0, 0x03, 0, 120, 0, 6});
// One calibration coefficient register: harmless to write, easy to read back.
const std::string kWriteCoefficient = bytes({0, 0x10, 0, 126, 0, 1, 2, 0x12, 0x34});
const std::string kWritten = bytes({0, 0x10, 0, 126, 0, 1});

SimulatorOptions fastOptions() {
  SimulatorOptions o;
  o.turnaroundMs = 0;
  return o;
}

std::string uniqueLink(const std::string& name) {
  return ::testing::TempDir() + "ulm5_" + name + "_" + std::to_string(::getpid());
}

bool exists(const std::string& path) {
  return std::filesystem::exists(std::filesystem::symlink_status(path));
}

TEST(SimulatorMisbehaviour, SilentAfterNAnswersNothingMoreAndCarriesNothingOut) {
  const struct {
    int fromStart;  // by option; -1: by the setter after one answered request
    int n;
  } cases[] = {{2, 2}, {0, 0}, {-1, 1}, {-1, 0}};
  for (const auto& c : cases) {
    SimulatorOptions o = fastOptions();
    o.silentAfter = c.fromStart;
    Simulator sim(o);
    TestMaster master(sim.devicePath());
    if (c.fromStart < 0) {
      ASSERT_EQ(master.ask(kReadIdentification).size(), 15u);
      sim.setSilentAfter(c.n);
    }
    for (int i = 0; i < c.n; ++i) EXPECT_EQ(master.ask(kReadIdentification).size(), 15u);
    const std::string before = sim.instrument().holdingBytes(126, 1);
    master.send(modbus::BuildFrame(kWriteCoefficient));
    master.send(modbus::BuildFrame(kReadIdentification));
    EXPECT_EQ(master.readUntilQuiet(150ms), "") << "n " << c.n;
    EXPECT_EQ(sim.instrument().holdingBytes(126, 1), before) << "a silent unit carries out nothing";
    sim.setSilentAfter(-1);
    EXPECT_EQ(master.ask(kWriteCoefficient), kWritten);
  }
}

TEST(SimulatorMisbehaviour, ExceptionAtNRefusesThatRequestOnly) {
  const struct {
    bool bySetter;
    int n;
    uint8_t code;
  } cases[] = {{false, 1, 0x04}, {true, 2, 0x06}, {true, 3, 0x0B}};
  for (const auto& c : cases) {
    SimulatorOptions o = fastOptions();
    if (!c.bySetter) {
      o.exceptionAt = c.n;
      o.exceptionCode = c.code;
    }
    Simulator sim(o);
    TestMaster master(sim.devicePath());
    if (c.bySetter) {
      ASSERT_EQ(master.ask(kReadIdentification).size(), 15u);
      sim.setExceptionAt(c.n, c.code);
    }
    for (int i = 1; i < c.n; ++i) EXPECT_EQ(master.ask(kReadIdentification).size(), 15u);
    const std::string before = sim.instrument().holdingBytes(126, 1);
    EXPECT_EQ(master.ask(kWriteCoefficient), bytes({0, 0x90, c.code})) << "request " << c.n;
    EXPECT_EQ(sim.instrument().holdingBytes(126, 1), before) << "the refused write changed it";
    EXPECT_EQ(master.ask(kWriteCoefficient), kWritten);
    EXPECT_EQ(sim.instrument().holdingBytes(126, 1), bytes({0x12, 0x34}));
  }
}

TEST(SimulatorMisbehaviour, HangupIsSeenByTheSlaveHolderAndTheLinkComesBack) {
  const struct {
    bool bySetter;
    int n;
    int backAfterMs;
  } cases[] = {{false, 1, 300}, {true, 0, 300}, {true, 2, -1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "n " << c.n << " back " << c.backAfterMs);
    const std::string link = uniqueLink("hangup");
    SimulatorOptions o = fastOptions();
    o.linkPath = link;
    if (!c.bySetter) {
      o.hangupAfter = c.n;
      o.backAfterMs = c.backAfterMs;
    }
    Simulator sim(o);
    {
      TestMaster master(link);
      if (c.bySetter) sim.setHangupAfter(c.n, c.backAfterMs);
      for (int i = 0; i < c.n; ++i) EXPECT_EQ(master.ask(kReadIdentification).size(), 15u);
      // Set with n = 0, the hang-up has happened when the setter returns.
      EXPECT_TRUE(master.seesHangup(c.n == 0 ? 0ms : 5000ms)) << "n " << c.n;
      EXPECT_FALSE(exists(link)) << "the link still names a device";
    }
    if (c.backAfterMs < 0) continue;
    ASSERT_TRUE(eventually([&] { return exists(link); })) << "never came back";
    EXPECT_EQ(sim.devicePath(), link);
    TestMaster master(link);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(master.ask(kReadIdentification).size(), 15u);
    EXPECT_FALSE(master.seesHangup(0ms)) << "the count does not start again";
  }
  Simulator unlinked(fastOptions());
  EXPECT_THROW(unlinked.setHangupAfter(0, 100), std::invalid_argument)
      << "a new pseudo-terminal would come back under another name";
  const std::string slave = unlinked.devicePath();
  unlinked.setHangupAfter(0);
  EXPECT_FALSE(exists(slave));
}

TEST(SimulatorMisbehaviour, GlitchByteComesBeforeEveryReply) {
  Simulator sim(fastOptions());
  TestMaster master(sim.devicePath());
  for (const uint8_t glitch : {0x00, 0xFF, 0x0A}) {
    sim.setGlitchByte(glitch);
    for (int i = 0; i < 2; ++i) {
      master.send(modbus::BuildFrame(kReadIdentification));
      const std::string got = master.readUntilQuiet(100ms);
      ASSERT_GE(got.size(), 2u);
      EXPECT_EQ(static_cast<uint8_t>(got[0]), glitch);
      EXPECT_EQ(got[1], ':');
      EXPECT_EQ(modbus::DecodeReply(got.substr(1)).size(), 15u);
    }
  }
  sim.setGlitchByte(std::nullopt);
  master.send(modbus::BuildFrame(kReadIdentification));
  EXPECT_EQ(master.readUntilQuiet(100ms)[0], ':');
}

TEST(SimulatorMisbehaviour, AllAnswerZeroPutsOneWholeReplyPerUnitOnTheLine) {
  for (const bool all : {false, true}) {
    SimulatorOptions o = fastOptions();
    o.turnaroundMs = 2;
    o.moreAddresses = {7, 9};
    o.allAnswerZero = all;
    Simulator sim(o);
    TestMaster master(sim.devicePath());
    for (const bool bySetter : {false, true}) {
      if (bySetter) sim.setAllAnswerZero(!all);
      const bool expectAll = bySetter ? !all : all;
      master.send(modbus::BuildFrame(kReadIdentification));
      std::string got = master.readUntilQuiet(200ms);
      std::vector<std::string> replies;
      for (std::size_t lf = got.find('\n'); lf != std::string::npos; lf = got.find('\n')) {
        replies.push_back(modbus::DecodeReply(got.substr(0, lf + 1)));
        got.erase(0, lf + 1);
      }
      EXPECT_EQ(got, "");
      ASSERT_EQ(replies.size(), expectAll ? 3u : 1u);
      for (std::size_t i = 0; i < replies.size(); ++i) {
        EXPECT_EQ(replies[i].substr(3), sim.instrument(i).holdingBytes(120, 6)) << "unit " << i;
      }
      EXPECT_EQ(master.ask(bytes({9, 0x03, 0, 120, 0, 6})).substr(3),
                sim.instrument(2).holdingBytes(120, 6))
          << "its own address stays its own";
    }
  }
}

TEST(SimulatorMisbehaviour, PacedBytesTakeTheirWireTimeBothWays) {
  const struct {
    int speedIndex;
    speed_t speed;
    int bitsPerSecond;
  } cases[] = {{2, B9600, 9600}, {1, B4800, 4800}};
  // Request 6 bytes and reply 15: 17 + 35 characters of 10 bits.
  constexpr int kCharacters = 17 + 35;
  for (const auto& c : cases) {
    SimulatorOptions o = fastOptions();
    o.interfaceBaudIndex = c.speedIndex;
    o.pace = true;
    Simulator sim(o);
    TestMaster master(sim.devicePath(), c.speed);
    for (int i = 0; i < 2; ++i) {
      const auto sent = std::chrono::steady_clock::now();
      const std::string reply = master.ask(kReadIdentification);
      const auto took = std::chrono::steady_clock::now() - sent;
      EXPECT_EQ(reply.size(), 15u);
      EXPECT_GE(took, std::chrono::microseconds(kCharacters * 10 * 1000000LL / c.bitsPerSecond))
          << c.bitsPerSecond;
    }
  }
}

TEST(SimulatorMisbehaviour, RequestLogTellsWhatArrivedAndWhatBecameOfIt) {
  SimulatorOptions o = fastOptions();
  o.moreAddresses = {7};
  Simulator sim(o);
  TestMaster master(sim.devicePath());
  sim.setExceptionAt(3, 0x04);
  const struct {
    std::string request;
    LoggedRequest expect;
  } cases[] = {
      {kReadIdentification, {0, 0x03, 120, 6, "", true, Answer::kNormal}},
      {kWriteCoefficient, {0, 0x10, 126, 1, bytes({0x12, 0x34}), true, Answer::kNormal}},
      {bytes({7, 0x04, 0, 0, 0, 13}), {7, 0x04, 0, 13, "", true, Answer::kException}},
      {bytes({0, 0x03, 0, 200, 0, 1}), {0, 0x03, 200, 1, "", true, Answer::kException}},
      {bytes({0, 0x0F, 0, 0, 0, 4, 1, 0x0F}),
       {0, 0x0F, 0, 4, bytes({0x0F}), true, Answer::kNormal}},
      {bytes({5, 0x03, 0, 0, 0, 1}), {5, 0x03, 0, 1, "", false, Answer::kSilent}},
  };
  sim.clearRequestLog();
  for (const auto& c : cases) master.send(modbus::BuildFrame(c.request));
  master.readUntilQuiet(200ms);
  sim.setSilentAfter(0);
  master.send(modbus::BuildFrame(kReadIdentification));
  ASSERT_TRUE(eventually([&] { return sim.requestLog().size() == std::size(cases) + 1; }));
  const std::vector<LoggedRequest> log = sim.requestLog();
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const LoggedRequest& e = cases[i].expect;
    EXPECT_EQ(log[i].address, e.address) << i;
    EXPECT_EQ(log[i].function, e.function) << i;
    EXPECT_EQ(log[i].start, e.start) << i;
    EXPECT_EQ(log[i].count, e.count) << i;
    EXPECT_EQ(log[i].data, e.data) << i;
    EXPECT_EQ(log[i].answered, e.answered) << i;
    EXPECT_EQ(log[i].how, e.how) << i;
  }
  EXPECT_FALSE(log.back().answered) << "silenced";
  EXPECT_EQ(log.back().how, Answer::kSilent);
  sim.clearRequestLog();
  EXPECT_TRUE(sim.requestLog().empty());

  RequestLog bounded;
  for (std::size_t i = 0; i <= RequestLog::kCapacity; ++i) {
    LoggedRequest entry;
    entry.start = static_cast<uint16_t>(i);
    bounded.add(entry);
  }
  const auto kept = bounded.entries();
  ASSERT_EQ(kept.size(), RequestLog::kCapacity);
  EXPECT_EQ(kept.front().start, 1) << "the oldest goes first";
}

}  // namespace
}  // namespace sim
