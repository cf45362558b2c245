// What ends up in the instrument: set writes what it was asked to and
// nothing else, takes only what the window's fields take, and a restore
// leaves a unit where it is on the line unless told otherwise.

#include <nlohmann/json.hpp>

#include "cli_fixture.h"

namespace {

using cli_test::CliAgainstSimulator;
using cli_test::has;
using cli_test::singleBytes;
using json = nlohmann::ordered_json;

// The writes the simulator saw, as "start+count".
std::vector<std::string> writesSeen(const sim::Simulator& simulator) {
  std::vector<std::string> writes;
  for (const sim::LoggedRequest& r : simulator.requestLog()) {
    if (r.function == 0x10)
      writes.push_back(std::to_string(r.start) + "+" + std::to_string(r.count));
  }
  return writes;
}

TEST_F(CliAgainstSimulator, SetWritesOnlyWhatWasNamedAndWhatTheWindowTakes) {
  sim::Instrument& instrument = simulator_.instrument();
  // Bytes the window's pages build as 0: the general block's last byte, flag
  // bit 5 and the reserved byte of setpoint 1.
  std::string general = instrument.holdingBytes(0, 13);
  general[25] = '\x55';
  instrument.setHoldingBytes(0, general);
  std::string setpoint = instrument.holdingBytes(13, 5);
  setpoint[8] = static_cast<char>(setpoint[8] | 0x20);
  setpoint[9] = '\xAA';
  instrument.setHoldingBytes(13, setpoint);

  const struct {
    std::vector<std::string> fields;
    int code;
    const char* message;
    std::vector<std::string> writes;
  } cases[] = {
      {{"general.filterPeriod=7", "setpoint2.value=050.0"},
       5,
       "setpoint1.reserved reads AA and would be written as 00",
       {}},
      {{"general.switches.scaling=true"}, 5, "general.reserved reads 55", {}},
      {{"setpoint1.flags.enabled=false"}, 5, "(bits it writes as 0)", {}},
      {{"setpoint1.value=1e30"}, 5, "\"1e30\" does not fit the field", {}},
      {{"setpoint1.value=085.05"}, 5, "\"085.05\" does not fit the field", {}},
      {{"general.archivePeriod=101"}, 5, "invalid archive period", {}},
      {{"coefficients.outputCurrent1=40000"}, 5, "invalid output current coefficient", {}},
      {{"general.filterPeriod=7"}, 0, "written; every register", {"3+1"}},
      {{"setpoint3.value=12,5", "coefficients.coldJunction=1.25"},
       0,
       "written; every register",
       {"23+10", "136+2"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fields[0]);
    std::vector<std::string> command = {"--fast", "set"};
    command.insert(command.end(), c.fields.begin(), c.fields.end());
    const std::string before = holding();
    simulator_.clearRequestLog();
    const Result set = run(at("115200", command));
    EXPECT_EQ(set.code, c.code) << set.err;
    EXPECT_TRUE(has(set.err, c.message)) << set.err;
    EXPECT_EQ(writesSeen(simulator_), c.writes);
    if (c.code != 0) {
      EXPECT_EQ(holding(), before);
    }
  }

  // The program under the Russian locale takes the same texts.
  for (const char* locale : {"LC_ALL=ru_RU.UTF-8", "LC_ALL=C"}) {
    SCOPED_TRACE(locale);
    const Result set =
        runProgram(at("115200", {"--fast", "set", "setpoint4.zone=001,5"}), {locale});
    EXPECT_EQ(set.code, 0) << set.err;
    EXPECT_EQ(instrument.holdingBytes(30, 2), singleBytes(15.0f));
    EXPECT_EQ(runProgram(at("115200", {"--fast", "set", "setpoint4.zone=01,55"}), {locale}).code,
              5);
  }
}

class TwoUnitsOnALine : public CliAgainstSimulator {
 protected:
  TwoUnitsOnALine() : CliAgainstSimulator(cli_test::lineOf({5, 6})) {}
};

// Unit 6's backup onto unit 5: unit 5 stays where it is on the line, and
// the backup's address goes out only when asked and free.
TEST_F(TwoUnitsOnALine, RestoreKeepsTheUnitsAddressUnlessAskedAndFree) {
  const std::string backup = path("unit6.json");
  ASSERT_EQ(run(at("115200", {"--address", "6", "backup", backup})).code, 0);
  sim::Instrument& unit5 = simulator_.instrument(0);
  unit5.setHoldingBytes(3, std::string("\x09\x09", 2));  // filter and archive periods

  simulator_.clearRequestLog();
  const Result refused = run(at("115200", {"--address", "5", "restore", "--with-link", backup}));
  EXPECT_EQ(refused.code, 5) << refused.err;
  EXPECT_TRUE(has(refused.err, "(serial number 240316) already answers address 6")) << refused.err;
  EXPECT_EQ(writesSeen(simulator_), std::vector<std::string>{});

  const Result kept = run(at("115200", {"--address", "5", "restore", backup}));
  EXPECT_EQ(kept.code, 0) << kept.err;
  EXPECT_TRUE(has(kept.err, "general.address stays as the instrument has it")) << kept.err;
  EXPECT_EQ(unit5.networkAddress(), 5);
  EXPECT_EQ(unit5.holdingBytes(3, 1), simulator_.instrument(1).holdingBytes(3, 1));

  // A free address is taken, and the rest follows the unit there.
  json edited = json::parse(read(backup));
  edited["general"]["address"]["hex"] = "09";
  edited["general"]["address"]["value"] = "9";
  write(backup, edited.dump());
  const Result moved = run(at("115200", {"--address", "5", "restore", "--with-link", backup}));
  EXPECT_EQ(moved.code, 0) << moved.err;
  EXPECT_TRUE(has(moved.err, "now answers address 9")) << moved.err;
  EXPECT_EQ(unit5.networkAddress(), 9);
}

}  // namespace
