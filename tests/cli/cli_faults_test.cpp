// The faults a production line met, each with the input that showed it.

#include <signal.h>
#include <sys/file.h>

#include <fcntl.h>
#include <atomic>
#include <functional>
#include <nlohmann/json.hpp>
#include <thread>

#include "cli_fixture.h"

namespace {

using cli_test::CliAgainstSimulator;
using cli_test::has;
using cli_test::singleBytes;
using json = nlohmann::ordered_json;

TEST_F(CliAgainstSimulator, MalformedBackupsAreRefusedNamingTheFieldWithNothingSent) {
  const std::string backup = path("golden.json");
  ASSERT_EQ(run(at("115200", {"backup", backup})).code, 0);
  const json golden = json::parse(read(backup));
  const auto edited = [&](const std::function<void(json&)>& edit) {
    json document = golden;
    edit(document);
    return document.dump();
  };
  struct Case {
    const char* what;
    std::string file;  // a path, or the text to write
    bool written;
    int code;
    const char* message;
  };
  const std::string directory = path("");
  const std::vector<Case> cases = {
      {"format a number", edited([](json& d) { d["format"] = 5; }), true, 5,
       "format: not a string"},
      {"readAt a number", edited([](json& d) { d["readAt"] = 5; }), true, 5,
       "readAt: not a string"},
      {"instrument a text", edited([](json& d) { d["instrument"] = "ULM5"; }), true, 5,
       "instrument: not a object"},
      {"typeCode a text", edited([](json& d) { d["instrument"]["typeCode"] = "7"; }), true, 5,
       "instrument.typeCode: not a whole number"},
      {"register a text", edited([](json& d) { d["setpoint2"]["zone"]["register"] = "0"; }), true,
       5, "setpoint2.zone.register: not a whole number"},
      {"a group a list", edited([](json& d) { d["scale"] = json::array(); }), true, 5,
       "scale.keptByte: missing"},
      {"version a text", edited([](json& d) { d["version"] = "1"; }), true, 5,
       "version: not a whole number"},
      {"endless input", "/dev/zero", false, 5, "larger than 1 MiB"},
      {"a directory", directory, false, 2, "cannot read"},
  };
  const std::string before = holding();
  for (const Case& c : cases) {
    std::string file = c.file;
    if (c.written) {
      file = path("edited.json");
      write(file, c.file);
    }
    for (const std::vector<std::string>& command : {std::vector<std::string>{"restore", file},
                                                    {"restore", "--dry-run", file},
                                                    {"diff", file}}) {
      SCOPED_TRACE(std::string(c.what) + " " + command[0]);
      const uint64_t served = simulator_.requestsServed();
      const Result result = run(at("115200", command));
      EXPECT_EQ(result.code, c.code);
      EXPECT_TRUE(has(result.err, c.message)) << result.err;
      EXPECT_EQ(simulator_.requestsServed(), served);
    }
  }
  EXPECT_EQ(holding(), before);
}

TEST_F(CliAgainstSimulator, TheClockIsSetOnlyFromAWholeCalendarDate) {
  const uint64_t served = simulator_.requestsServed();
  for (const char* text : {"07.12.2026 14:05:00", "31.02.26 10:00:00", "14:05:0099"}) {
    const Result refused = run(at("115200", {"clock", "--set", text}));
    EXPECT_EQ(refused.code, 5) << text;
    EXPECT_TRUE(has(refused.err, "nothing was sent")) << refused.err;
  }
  EXPECT_EQ(simulator_.requestsServed(), served);

  const Result set = run(at("115200", {"clock", "--set", "2026-12-07T14:05:00"}));
  ASSERT_EQ(set.code, 0) << set.err;
  const sim::ClockTime clock = simulator_.instrument().clock();
  EXPECT_EQ(clock.year, 26);
  EXPECT_EQ(clock.month, 12);
  EXPECT_EQ(clock.day, 7);
  EXPECT_EQ(clock.dayOfWeek, 1) << "Monday";
  const Result read = runAtRealTime(at("115200", {"clock", "--json"}));
  ASSERT_EQ(read.code, 0) << read.err;
  EXPECT_EQ(json::parse(read.out)["dayOfWeek"], "Mon");
}

TEST_F(CliAgainstSimulator, AnotherUnitKeepsItsCalibrationUnlessAsked) {
  const std::string backup = path("unit-240315.json");
  ASSERT_EQ(run(at("115200", {"backup", backup})).code, 0);
  sim::Instrument& instrument = simulator_.instrument();
  // Another unit of the batch, with its own calibration and other settings.
  instrument.setSerialNumber(240316);
  instrument.setHoldingBytes(176, singleBytes(0.75f));
  instrument.setHoldingBytes(13, singleBytes(777.0f));
  const std::string ownCalibration = instrument.holdingBytes(126, 60);

  const Result diff = run(at("115200", {"diff", backup}));
  EXPECT_TRUE(has(diff.err, "serial number 240315")) << diff.err;
  EXPECT_TRUE(has(diff.err, "serial number 240316")) << diff.err;
  EXPECT_TRUE(has(diff.err, "another serial number")) << diff.err;

  const Result restore = run(at("115200", {"restore", backup}));
  EXPECT_EQ(restore.code, 0) << restore.err;
  EXPECT_TRUE(has(restore.err, "the calibration coefficients are not written")) << restore.err;
  EXPECT_EQ(instrument.holdingBytes(126, 60), ownCalibration);
  EXPECT_EQ(instrument.holdingBytes(13, 2), singleBytes(800.0f));

  // Nothing left to write is no success.
  const Result calibration =
      run(at("115200", {"restore", "--only", "calibration", "--json", backup}));
  EXPECT_EQ(calibration.code, 5) << calibration.err;
  EXPECT_TRUE(has(calibration.err, "nothing was written: the serial numbers differ"))
      << calibration.err;
  const json summary = json::parse(calibration.out);
  EXPECT_EQ(summary["blocks"]["calibration coefficients"],
            "not written: the serial numbers differ (240315 in the backup, 240316 in the "
            "instrument)");
  EXPECT_EQ(summary["backupSerialNumber"], "240315");
  EXPECT_EQ(instrument.holdingBytes(126, 60), ownCalibration);

  // --only: the setpoints alone, over a changed setpoint and filter period.
  instrument.setHoldingBytes(13, singleBytes(777.0f));
  std::string general = instrument.holdingBytes(0, 13);
  general[6] = '\x09';  // the filter period
  instrument.setHoldingBytes(0, general);
  ASSERT_EQ(run(at("115200", {"restore", "--only", "setpoints", backup})).code, 0);
  EXPECT_EQ(instrument.holdingBytes(13, 2), singleBytes(800.0f));
  EXPECT_EQ(instrument.holdingBytes(0, 13), general);

  const Result forced = run(at("115200", {"restore", "--with-calibration", backup}));
  EXPECT_EQ(forced.code, 0) << forced.err;
  EXPECT_NE(instrument.holdingBytes(126, 60), ownCalibration);
}

TEST_F(CliAgainstSimulator, AFailedArchiveReadLeavesTheFileAsItWas) {
  const std::string file = path("archive.csv");
  write(file, "the records of yesterday\n");
  simulator_.setFault(sim::Fault::kSilent);
  const Result archive = run(at("115200", {"archive", "--count", "3", "--csv", file}));
  EXPECT_EQ(archive.code, 4);
  EXPECT_TRUE(has(archive.err, "was not written")) << archive.err;
  EXPECT_EQ(read(file), "the records of yesterday\n");
  EXPECT_FALSE(std::filesystem::exists(file + ".part"));
}

TEST_F(CliAgainstSimulator, UnwritableFieldsAreNamedAtBackupAndSkippedOnRequest) {
  sim::Instrument& instrument = simulator_.instrument();
  instrument.setHoldingBytes(166, std::string(4, '\xFF'));  // blank memory: not a number
  std::string setpoint = instrument.holdingBytes(13, 5);
  setpoint[8] = static_cast<char>(setpoint[8] | 0x20);  // flag bit 5
  instrument.setHoldingBytes(13, setpoint);
  std::string general = instrument.holdingBytes(0, 13);
  general[25] = '\x55';  // the reserved byte after the switches
  instrument.setHoldingBytes(0, general);
  const std::string backup = path("blank.json");
  const Result saved = run(at("115200", {"backup", backup}));
  ASSERT_EQ(saved.code, 0) << saved.err;
  EXPECT_TRUE(has(saved.err, "coefficients.range1V1 cannot be written back")) << saved.err;
  EXPECT_TRUE(has(saved.err, "setpoint1.flags cannot be written back")) << saved.err;

  const std::string setpoint3 = instrument.holdingBytes(23, 2);
  instrument.setHoldingBytes(23, singleBytes(555.0f));  // to be restored
  const uint64_t served = simulator_.requestsServed();
  const Result refused = run(at("115200", {"restore", backup}));
  EXPECT_EQ(refused.code, 5);
  EXPECT_TRUE(has(refused.err, "coefficients.range1V1 cannot be written as it is: not a number"))
      << refused.err;
  EXPECT_EQ(simulator_.requestsServed(), served);

  // Skipped means not written: nor is what shares a write with it.
  instrument.setHoldingBytes(166, singleBytes(1.5f));
  instrument.setHoldingBytes(12, std::string("\x0F\x00", 2));
  const Result skipped = run(at("115200", {"restore", "--skip-unwritable", "--json", backup}));
  EXPECT_EQ(skipped.code, 0) << skipped.err;
  EXPECT_EQ(instrument.holdingBytes(23, 2), setpoint3) << "restored";
  EXPECT_EQ(instrument.holdingBytes(166, 2), singleBytes(1.5f)) << "left as it was";
  EXPECT_EQ(instrument.holdingBytes(12, 1), std::string("\x0F\x00", 2)) << "left as it was";
  const json summary = json::parse(skipped.out);
  EXPECT_EQ(summary["skipped"],
            (json{"general.reserved", "setpoint1.flags", "coefficients.range1V1"}));
  EXPECT_EQ(summary["heldBack"].size(), 3u) << summary.dump();
  EXPECT_EQ(summary["heldBack"][0], "general.switches, general.reserved");
  EXPECT_EQ(summary["blocks"]["general settings"], "partly written (2 of 3 writes)");
}

TEST_F(CliAgainstSimulator, ALateReplyCostsOnlyTheRequestThatWaitedForIt) {
  // The reply comes 100 ms late: after the clock read (fast set, 35 ms of
  // real time here) gave up, into the next program's request.
  simulator_.setFault(sim::Fault::kExtraDelay, 100);
  for (const bool fast : {false, true}) {
    SCOPED_TRACE(fast ? "fast" : "window's timing");
    std::vector<std::string> clock = {"clock"};
    std::vector<std::string> find = {"find", "--json"};
    if (fast) {
      clock.push_back("--fast");
      find.push_back("--fast");
    }
    EXPECT_EQ(run(at("115200", clock)).code, 4);
    const Result found = run(at("115200", find));
    EXPECT_EQ(found.code, 0) << found.err;
    while (simulator_.repliesPending() > 0) std::this_thread::yield();
  }
}

TEST_F(CliAgainstSimulator, FailuresNameTheirCauseAndTheDevice) {
  const std::string device = simulator_.devicePath();
  const struct {
    sim::Fault fault;
    const char* cause;
    int code;
  } faults[] = {
      {sim::Fault::kBadLrc, "failed its LRC check", 4},
      {sim::Fault::kExceptionAll, "refused the request (exception reply, code 04h)", 6},
      {sim::Fault::kWrongAddress, "came from another address than 0", 4},
      {sim::Fault::kSilent, "no reply from address 0 on ", 4},
  };
  for (const auto& f : faults) {
    SCOPED_TRACE(f.cause);
    simulator_.setFault(f.fault);
    const Result result = run(at("115200", {"find"}));
    EXPECT_EQ(result.code, f.code);
    EXPECT_TRUE(has(result.err, f.cause)) << result.err;
    EXPECT_TRUE(has(result.err, device)) << result.err;
  }
  simulator_.setFault(sim::Fault::kNone);

  const Result missing = run({"--port", path("ttyUSB9"), "find"});
  EXPECT_EQ(missing.code, 3);
  EXPECT_TRUE(has(missing.err, path("ttyUSB9") + " does not exist")) << missing.err;

  const int holder = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  ASSERT_GE(holder, 0);
  ASSERT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);
  const Result held = run(at("115200", {"find"}));
  ::close(holder);
  EXPECT_EQ(held.code, 3);
  EXPECT_TRUE(has(held.err, device + " is held by another program")) << held.err;

  // COM3 is /dev/ttyS2 unless mapped.
  const Result com3 = run({"--port", "COM3", "--baud", "115200", "clock"});
  EXPECT_NE(com3.code, 0);
  EXPECT_TRUE(has(com3.err, "/dev/ttyS2")) << com3.err;
}

TEST_F(CliAgainstSimulator, MessagesSayWhatHappened) {
  const struct {
    std::vector<std::string> args;
    const char* message;
  } arguments[] = {
      {{"--port", "COM1", "find", "a", "b", "c"}, "unexpected arguments: a b c"},
      {{"--port", "COM1", "fnd"}, "unknown subcommand fnd"},
      {{"--port", "COM1", "watch", "--count", "0"}, "--count: 0 is not within 1 to 1000000"},
      {{"--port", "COM1", "archive", "--count", "1x"}, "--count: 1x is not a number"},
      {{"--port", "COM1", "restore", "--only", "general,coefficients", "x.json"},
       "--only: coefficients is not one of general, setpoints, calibration"},
      {{"--port", "COM1", "scan", "--range", "5-2"}, "--range: 2 is not within 5 to 247"},
  };
  for (const auto& a : arguments) {
    SCOPED_TRACE(a.message);
    const Result result = run(a.args);
    EXPECT_EQ(result.code, 2);
    EXPECT_TRUE(has(result.err, a.message)) << result.err;
  }

  const Result version = run({"--version"});
  EXPECT_EQ(version.code, 0);
  EXPECT_TRUE(has(version.out, "ulm5-cli ")) << version.out;
  const Result traced = run(at("115200", {"find", "--trace"}));
  EXPECT_EQ(traced.code, 0) << traced.err;
  EXPECT_TRUE(has(traced.err, "sent :000300780006")) << traced.err;
  EXPECT_TRUE(has(traced.err, "received :00030C")) << traced.err;
  const Result toStandardOutput = run(at("115200", {"backup", "-"}), true);
  EXPECT_TRUE(has(toStandardOutput.err, "\rulm5-cli: reading calibration coefficients"))
      << toStandardOutput.err;
  EXPECT_EQ(toStandardOutput.code, 0) << toStandardOutput.err;
  EXPECT_EQ(json::parse(toStandardOutput.out)["format"], "ulm5-configuration");

  // Global options after the subcommand; a restore that changes the speed
  // says so once and reports no error.
  const std::string backup = path("golden.json");
  ASSERT_EQ(run({"backup", backup, "--port", simulator_.devicePath(), "--fast"}).code, 0);
  simulator_.instrument().setInterfaceBaudIndex(2);
  const Result restore = run(at("9600", {"restore", "--with-link", backup}));
  EXPECT_EQ(restore.code, 0) << restore.err;
  EXPECT_FALSE(has(restore.err, "error")) << restore.err;
  EXPECT_TRUE(has(restore.err, "now listens at 115200 bit/s")) << restore.err;
  EXPECT_FALSE(has(restore.err, "settings written")) << restore.err;
}

TEST_F(CliAgainstSimulator, CtrlCDuringRestoreFinishesTheWriteAndSaysWhatWentIn) {
  const std::string backup = path("golden.json");
  ASSERT_EQ(run(at("115200", {"backup", backup})).code, 0);
  const uint64_t before = simulator_.requestsServed();
  // Identification, the general settings read, then three general settings
  // writes; pressed while the sixth request (the first setpoint write) waits.
  std::atomic<bool> done{false};
  std::thread presser([&] {
    while (!done && simulator_.requestsServed() < before + 6) std::this_thread::yield();
    if (!done) ::kill(::getpid(), SIGINT);
  });
  const Result restore = run(at("115200", {"restore", "--json", backup}));
  done = true;
  presser.join();
  EXPECT_EQ(restore.code, 130) << restore.err;
  EXPECT_EQ(simulator_.requestsServed(), before + 6) << "nothing sent after the cancel";
  EXPECT_TRUE(has(restore.err, "general settings: written; scale and setpoints: partly written"))
      << restore.err;
  const json summary = json::parse(restore.out);
  EXPECT_EQ(summary["blocks"]["calibration coefficients"], "not written");
  EXPECT_EQ(summary["exitCode"], 130);
}

}  // namespace
