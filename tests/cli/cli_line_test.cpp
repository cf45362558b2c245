// What a production line does with ulm5-cli: fields set by name, hand-edited
// backups, a bus of several instruments, the fast exchange, and watch output
// that a script reads whatever the locale.

#include <nlohmann/json.hpp>
#include <regex>

#include "cli_fixture.h"

namespace {

using cli_test::CliAgainstSimulator;
using cli_test::has;
using cli_test::singleBytes;
using json = nlohmann::ordered_json;

TEST_F(CliAgainstSimulator, SetWritesNamedFieldsAndEditedValuesAreRestored) {
  sim::Instrument& instrument = simulator_.instrument();
  const Result set =
      run(at("115200", {"set", "setpoint1.value=085.0", "general.filterPeriod=5",
                        "setpoint2.flags.enabled=false", "general.protocol=MODBUS-RTU"}));
  ASSERT_EQ(set.code, 0) << set.err;
  EXPECT_TRUE(has(set.err, "setpoint1.value: \"080.0\" -> \"085.0\"")) << set.err;
  EXPECT_EQ(instrument.holdingBytes(13, 2), singleBytes(850.0f));

  const std::string backup = path("set.json");
  ASSERT_EQ(run(at("115200", {"backup", backup})).code, 0);
  const json saved = json::parse(read(backup));
  EXPECT_EQ(saved["general"]["filterPeriod"]["value"], "5");
  EXPECT_EQ(saved["setpoint2"]["flags"]["value"]["enabled"], false);
  EXPECT_EQ(saved["general"]["protocol"]["value"], 1);
  EXPECT_EQ(saved["general"]["protocol"]["text"], "MODBUS-RTU");
  EXPECT_EQ(saved["general"]["speed"]["text"], "115200");
  EXPECT_EQ(saved["general"]["inputType"]["text"], "(4..20)mA");

  // Refused as the window refuses it; nothing is written.
  const std::string before = holding();
  const Result refused = run(at("115200", {"set", "setpoint1.value=abc"}));
  EXPECT_EQ(refused.code, 5);
  EXPECT_TRUE(has(refused.err, "setpoint1.value: \"abc\" does not fit the field")) << refused.err;
  EXPECT_EQ(run(at("115200", {"set", "setpoint9.value=1"})).code, 5);
  EXPECT_EQ(holding(), before);

  // A value edited by hand: refused as it stands, taken with --from-values.
  json edited = saved;
  edited["setpoint1"]["value"]["value"] = "012.5";
  write(backup, edited.dump(2));
  EXPECT_EQ(run(at("115200", {"restore", backup})).code, 5);
  const Result fromValues = run(at("115200", {"restore", "--from-values", backup}));
  EXPECT_EQ(fromValues.code, 0) << fromValues.err;
  EXPECT_TRUE(has(fromValues.err, "setpoint1.value \"012.5\" goes out as 00 00 FA 42"))
      << fromValues.err;
  EXPECT_EQ(instrument.holdingBytes(13, 2), singleBytes(125.0f));
}

class TwoInstruments : public CliAgainstSimulator {
 protected:
  TwoInstruments() : CliAgainstSimulator(cli_test::lineOf({3, 7})) {}
};

TEST_F(TwoInstruments, ScanListsBothAndAddressReachesEach) {
  const Result scan = run(at("115200", {"scan", "--json", "--timeout", "300", "--range", "1-10"}));
  ASSERT_EQ(scan.code, 0) << scan.err;
  const json found = json::parse(scan.out);
  ASSERT_EQ(found.size(), 2u) << scan.out;
  EXPECT_EQ(found[0]["address"], 3);
  EXPECT_EQ(found[0]["serialNumber"], "240315");
  EXPECT_EQ(found[1]["address"], 7);
  EXPECT_EQ(found[1]["serialNumber"], "240316");

  const Result none = run(at("115200", {"scan", "--range", "4-6", "--timeout", "300"}));
  EXPECT_EQ(none.code, 4);
  EXPECT_EQ(none.out, "");
  EXPECT_TRUE(has(none.err, "no instrument answered")) << none.err;

  ASSERT_EQ(run(at("115200", {"--address", "7", "set", "general.filterPeriod=9"})).code, 0);
  // The filter period is byte 6 of the general settings: register 3, low byte.
  EXPECT_EQ(simulator_.instrument(1).holdingBytes(3, 1)[0], '\x09');
  EXPECT_NE(simulator_.instrument(0).holdingBytes(3, 1)[0], '\x09');
}

TEST_F(CliAgainstSimulator, FastExchangeTakesSplitRepliesWholeAndOutlastsAStream) {
  const std::string slow = path("slow.json");
  const std::string fast = path("fast.json");
  ASSERT_EQ(run(at("115200", {"backup", slow})).code, 0);
  // Halves 30 ms apart: longer than the exchange delay a scaled tick gives
  // (5 ms), so only the frame decides.
  simulator_.setFault(sim::Fault::kSplitReply, 30);
  const Result split = run(at("115200", {"--fast", "backup", fast}));
  ASSERT_EQ(split.code, 0) << split.err;
  const auto withoutTime = [&](const std::string& file) {
    json document = json::parse(read(file));
    document.erase("readAt");
    return document;
  };
  EXPECT_EQ(withoutTime(fast), withoutTime(slow));

  // A reply repeated without end is no single answer.
  simulator_.setFault(sim::Fault::kEndlessStream);
  const Result stream = run(at("115200", {"--fast", "find"}));
  EXPECT_EQ(stream.code, 4) << stream.err;
  EXPECT_TRUE(has(stream.err, "more than one instrument answered")) << stream.err;
  simulator_.setFault(sim::Fault::kNone);
  EXPECT_EQ(run(at("115200", {"--fast", "find"})).code, 0);
}

// ulm5-cli itself under the Russian locale, where the C library writes a
// decimal comma: the CSV of "--csv-format c" does not follow it, the
// default CSV follows the locale as the window's does.
TEST_F(CliAgainstSimulator, WatchCsvIsTheSameWhateverTheLocaleWithFormatC) {
  const auto watch = [&](const char* locale, std::vector<std::string> extra) {
    std::vector<std::string> command = {"watch", "--count", "1", "--csv"};
    command.insert(command.end(), extra.begin(), extra.end());
    return runProgram(at("115200", command), {std::string("LC_ALL=") + locale});
  };
  const std::regex pointRow(
      "pc time,instrument time,parameter,.*\r\n"
      "[0-9T:+-]+,\\d\\d\\.\\d\\d\\.\\d\\d \\d\\d:\\d\\d:\\d\\d,-?\\d+\\.\\d+,-?\\d+\\.\\d+,"
      "-?\\d+\\.\\d+,\\d+,[01]{4},[01]{4},\r\n");
  for (const char* locale : {"ru_RU.UTF-8", "C"}) {
    SCOPED_TRACE(locale);
    const Result c = watch(locale, {"--csv-format", "c"});
    ASSERT_EQ(c.code, 0) << c.err;
    EXPECT_TRUE(std::regex_match(c.out, pointRow)) << c.out;
  }
  const Result russian = watch("ru_RU.UTF-8", {});
  EXPECT_TRUE(has(russian.out, "pc time;instrument time;")) << russian.out;
  EXPECT_TRUE(std::regex_search(russian.out, std::regex(";-?\\d+,\\d+;"))) << russian.out;

  // A missed poll is a row of its own: the time, empty values, the cause.
  simulator_.setFault(sim::Fault::kSilent);
  const Result missed = watch("C", {"--csv-format", "c"});
  EXPECT_EQ(missed.code, 4);
  EXPECT_TRUE(std::regex_search(
      missed.out, std::regex("\r\n[0-9T:+-]+,,,,,,,,no reply from address 0 on [^\r]+\r\n$")))
      << missed.out;
}

}  // namespace
