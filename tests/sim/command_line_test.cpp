#include "sim/command_line.h"

#include <gtest/gtest.h>

namespace sim {
namespace {

std::optional<ProgramOptions> parse(std::vector<std::string> args, std::string* error = nullptr) {
  std::string e;
  auto o = ParseCommandLine(args, e);
  if (error) *error = e;
  return o;
}

TEST(CommandLine, DefaultsServeANewPseudoTerminalAt115200) {
  const auto o = parse({});
  ASSERT_TRUE(o);
  EXPECT_TRUE(o->simulator.device.empty());
  EXPECT_EQ(o->simulator.interfaceBaudIndex, 6);
  EXPECT_EQ(o->simulator.fault, Fault::kNone);
  EXPECT_TRUE(o->simulator.checkLineSpeed);
  EXPECT_EQ(o->simulator.faultWord, 0);
  EXPECT_FALSE(o->simulator.heldOutputs);
  EXPECT_EQ(o->tcpPort, -1);
  EXPECT_FALSE(o->help);
}

TEST(CommandLine, TakesEveryOption) {
  const auto o =
      parse({"--device",   "/dev/ttyUSB0", "-l",           "/tmp/com1", "--speed",   "9600",
             "-a",         "17",           "-t",           "0",         "--fault",   "split",
             "--fault-ms", "700",          "--fault-word", "0x8405",    "--outputs", "0x5:0x3",
             "--tcp",      "5000",         "--any-speed"});
  ASSERT_TRUE(o);
  EXPECT_EQ(o->simulator.device, "/dev/ttyUSB0");
  EXPECT_EQ(o->simulator.linkPath, "/tmp/com1");
  EXPECT_EQ(o->simulator.interfaceBaudIndex, 2);
  EXPECT_EQ(o->simulator.networkAddress, 17);
  EXPECT_EQ(o->simulator.turnaroundMs, 0);
  EXPECT_EQ(o->simulator.fault, Fault::kSplitReply);
  EXPECT_EQ(o->simulator.faultParamMs, 700);
  EXPECT_EQ(o->simulator.faultWord, 0x8405);
  EXPECT_EQ(o->simulator.heldOutputs, (std::pair<uint8_t, uint8_t>{0x5, 0x3}));
  EXPECT_EQ(o->tcpPort, 5000);
  EXPECT_FALSE(o->simulator.checkLineSpeed);
}

TEST(CommandLine, AnAddressGivenAgainAddsAnInstrumentToTheLine) {
  const auto o = parse({"--address", "3", "-a", "7", "--address", "12"});
  ASSERT_TRUE(o);
  EXPECT_EQ(o->simulator.networkAddress, 3);
  EXPECT_EQ(o->simulator.moreAddresses, (std::vector<uint8_t>{7, 12}));
  EXPECT_TRUE(parse({})->simulator.moreAddresses.empty());
}

TEST(CommandLine, FaultWordAndOutputsTakeDecimalOrHex) {
  const struct {
    std::vector<std::string> args;
    uint16_t faultWord;
    std::pair<uint8_t, uint8_t> outputs;
  } cases[] = {
      {{"--fault-word", "1029", "--outputs", "15:0"}, 0x0405, {15, 0}},
      {{"--fault-word", "0XfFfF", "--outputs", "0:0xF"}, 0xFFFF, {0, 15}},
      {{"--fault-word", "0x0", "--outputs", "0x0a:9"}, 0, {10, 9}},
  };
  for (const auto& c : cases) {
    const auto o = parse(c.args);
    ASSERT_TRUE(o) << c.args[1];
    EXPECT_EQ(o->simulator.faultWord, c.faultWord) << c.args[1];
    EXPECT_EQ(o->simulator.heldOutputs, c.outputs) << c.args[3];
  }
}

TEST(CommandLine, KnowsEveryFaultByName) {
  const std::pair<const char*, Fault> names[] = {{"silent", Fault::kSilent},
                                                 {"bad-lrc", Fault::kBadLrc},
                                                 {"wrong-address", Fault::kWrongAddress},
                                                 {"exception", Fault::kExceptionAll},
                                                 {"split", Fault::kSplitReply},
                                                 {"stream", Fault::kEndlessStream},
                                                 {"lower-case", Fault::kLowerCaseHex},
                                                 {"delay", Fault::kExtraDelay},
                                                 {"none", Fault::kNone}};
  for (const auto& [name, fault] : names) {
    EXPECT_EQ(FaultByName(name), fault) << name;
    EXPECT_NE(HelpText().find(name), std::string::npos) << name << " missing from --help";
  }
  EXPECT_FALSE(FaultByName("Silent"));
}

TEST(CommandLine, RefusesBadArgumentsWithAMessage) {
  const std::vector<std::vector<std::string>> bad = {{"--speed", "1200"},
                                                     {"--speed", "9600x"},
                                                     {"--address", "256"},
                                                     {"-t", "-1"},
                                                     {"--fault", "noise"},
                                                     {"--tcp", "70000"},
                                                     {"--link"},
                                                     {"--frobnicate"},
                                                     {"--fault-word", "65536"},
                                                     {"--fault-word", "0x10000"},
                                                     {"--fault-word", "0x"},
                                                     {"--fault-word", "-1"},
                                                     {"--fault-word", "0x-1"},
                                                     {"--fault-word", "12ab"},
                                                     {"--outputs", "16:0"},
                                                     {"--outputs", "5"},
                                                     {"--outputs", "5:"},
                                                     {"--outputs", "1:2:3"}};
  for (const auto& args : bad) {
    std::string error;
    EXPECT_FALSE(parse(args, &error)) << args.back();
    EXPECT_FALSE(error.empty()) << args.back();
  }
}

TEST(CommandLine, HelpDocumentsEveryOption) {
  const std::string help = HelpText();
  for (const char* option :
       {"--device", "--link", "--speed", "--any-speed", "--address", "--turnaround", "--fault",
        "--fault-ms", "--fault-word", "--outputs", "--tcp", "--version", "--help"}) {
    EXPECT_NE(help.find(option), std::string::npos) << option;
  }
  EXPECT_TRUE(parse({"-h"})->help);
  EXPECT_TRUE(parse({"--version"})->version);
}

}  // namespace
}  // namespace sim
