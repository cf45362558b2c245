// What the line does to ulm5-cli on a production bench: two units on one
// address, a transceiver's glitch byte, an exception reply, silence after a
// write, a port that goes away, and wire time at 2400 bit/s.

#include <algorithm>
#include <functional>
#include <nlohmann/json.hpp>
#include <thread>

#include "cli_fixture.h"

namespace {

using cli_test::CliAgainstSimulator;
using cli_test::has;
using json = nlohmann::ordered_json;

class TwoUnitsOnAddressZero : public CliAgainstSimulator {
 protected:
  TwoUnitsOnAddressZero() : CliAgainstSimulator(cli_test::lineOf({1, 2}, true)) {}
};

TEST_F(TwoUnitsOnAddressZero, EveryCommandStopsWithNothingTakenOrWritten) {
  const std::string file = path("unit.json");
  const std::string first = simulator_.instrument(0).holdingBytes(0, 186);
  const std::string second = simulator_.instrument(1).holdingBytes(0, 186);
  for (const bool fast : {false, true}) {
    for (std::vector<std::string> command : {std::vector<std::string>{"find"},
                                             {"backup", file},
                                             {"set", "general.filterPeriod=9"},
                                             {"clock"},
                                             {"watch", "--count", "3"}}) {
      SCOPED_TRACE(command[0] + (fast ? " --fast" : ""));
      // The second unit answers 3 ms after the first: real time, not the
      // scaled tick, for the fast exchange's wait after an answer and the
      // fast timing set of clock and watch.
      const bool realTime = fast || command[0] == "clock" || command[0] == "watch";
      if (fast) command.insert(command.begin(), "--fast");
      const Result result =
          realTime ? runAtRealTime(at("115200", command)) : run(at("115200", command));
      EXPECT_EQ(result.code, 4) << result.err;
      EXPECT_TRUE(has(result.err, "more than one instrument answered address 0")) << result.err;
      EXPECT_EQ(result.out, "");
      EXPECT_FALSE(std::filesystem::exists(file));
      EXPECT_FALSE(std::filesystem::exists(file + ".part"));
      while (simulator_.repliesPending() > 0) std::this_thread::yield();
    }
  }
  EXPECT_EQ(simulator_.instrument(0).holdingBytes(0, 186), first);
  EXPECT_EQ(simulator_.instrument(1).holdingBytes(0, 186), second);
}

// A transceiver switching direction sends a byte ahead of the frame. The
// window's exchange takes no such reply; the message says what helps.
TEST_F(CliAgainstSimulator, AGlitchByteBeforeTheColonIsNamedAndFastTakesTheFrame) {
  for (const auto& [byte, shown] :
       {std::pair<uint8_t, const char*>{0x00, "00h"}, {0xFF, "FFh"}, {0x0A, "0Ah"}}) {
    SCOPED_TRACE(shown);
    simulator_.setGlitchByte(byte);
    const Result window = run(at("115200", {"find"}));
    EXPECT_EQ(window.code, 4);
    EXPECT_TRUE(has(window.err, std::string("began with ") + shown + " before the frame's colon"))
        << window.err;
    EXPECT_TRUE(has(window.err, "--fast takes the frame after them")) << window.err;
    const Result fast = run(at("115200", {"--fast", "find", "--json"}));
    EXPECT_EQ(fast.code, 0) << fast.err;
    EXPECT_EQ(json::parse(fast.out)["serialNumber"], "240315");
  }
}

// A restore that meets an exception reply, or silence after a write went
// out, says which blocks went in, which did not, and which may have.
TEST_F(CliAgainstSimulator, ARestoreStoppedOnTheLineReportsEachBlockAsItStands) {
  const std::string backup = path("golden.json");
  ASSERT_EQ(run(at("115200", {"backup", backup})).code, 0);
  // Requests of a restore: identification, general settings read, then the
  // three general writes (HR 0..1, HR 3, HR 12) and the setpoint writes.
  const struct {
    const char* what;
    std::function<void()> fault;
    int code;
    const char* cause;
    const char* general;
  } cases[] = {
      {"exception on the second write", [&] { simulator_.setExceptionAt(4, 0x02); }, 6,
       "exception reply, code 02h", "partly written (1 of 3 writes)"},
      {"silence after the first write", [&] { simulator_.setSilentAfter(3); }, 4,
       "no reply from address 0",
       "unknown: the write of HR 3 was sent but not confirmed (1 of 3 writes confirmed before "
       "it)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    c.fault();
    const Result restore = run(at("115200", {"restore", "--json", backup}));
    simulator_.setExceptionAt(0);
    simulator_.setSilentAfter(-1);
    EXPECT_EQ(restore.code, c.code) << restore.err;
    EXPECT_TRUE(has(restore.err, c.cause)) << restore.err;
    EXPECT_TRUE(has(restore.err, std::string("general settings: ") + c.general)) << restore.err;
    const json summary = json::parse(restore.out);
    EXPECT_EQ(summary["blocks"]["general settings"], c.general);
    EXPECT_EQ(summary["blocks"]["scale and setpoints"], "not written");
    EXPECT_EQ(summary["exitCode"], c.code);
    EXPECT_TRUE(has(summary["cause"].get<std::string>(), "restore stopped")) << summary.dump();
  }
}

// watch without --count ends when its port goes away instead of polling on.
TEST_F(CliAgainstSimulator, WatchEndsWithExitThreeWhenItsPortGoesAway) {
  simulator_.setHangupAfter(2);
  const Result watch = runAtRealTime(at("115200", {"watch", "--json"}));
  EXPECT_EQ(watch.code, 3) << watch.err;
  EXPECT_TRUE(has(watch.err, simulator_.devicePath())) << watch.err;
  // The two answered polls and the ending; on a loaded machine a poll may
  // meet the line before it has gone and miss its reply first.
  EXPECT_GE(std::count(watch.out.begin(), watch.out.end(), '\n'), 3) << watch.out;
}

// At 2400 bit/s a request and its reply take longer on the wire than a
// scan's wait for a silent address: the wait must cover them.
TEST_F(CliAgainstSimulator, ScanAtTheSlowestSpeedWaitsOutTheWireTime) {
  simulator_.instrument().setInterfaceBaudIndex(0);
  simulator_.setPace(true);
  const Result scan = runAtRealTime(at("2400", {"scan", "--range", "1-2", "--json"}));
  ASSERT_EQ(scan.code, 0) << scan.err;
  const json found = json::parse(scan.out);
  ASSERT_EQ(found.size(), 1u) << scan.out;
  EXPECT_EQ(found[0]["address"], 1);
}

}  // namespace
