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

TEST(CommandLine, TakesTheMisbehavioursOfTheLine) {
  const struct {
    std::vector<std::string> args;
    int silentAfter, exceptionAt;
    uint8_t exceptionCode;
    int hangupAfter, backAfterMs;
    std::optional<uint8_t> glitch;
    bool allAnswerZero, pace;
  } cases[] = {
      {{}, -1, 0, 0x04, -1, -1, std::nullopt, false, false},
      {{"--silent-after", "0", "--exception-at", "3", "--glitch", "00"},
       0,
       3,
       0x04,
       -1,
       -1,
       0x00,
       false,
       false},
      {{"--silent-after", "12", "--exception-at", "1:0B", "--glitch", "FF", "--pace"},
       12,
       1,
       0x0B,
       -1,
       -1,
       0xFF,
       false,
       true},
      {{"--exception-at", "7:0x06", "--glitch", "0a", "--all-answer-zero", "--hangup-after", "0"},
       -1,
       7,
       0x06,
       0,
       -1,
       0x0A,
       true,
       false},
      {{"--link", "/tmp/COM1", "--hangup-after", "5", "--back-after", "250"},
       -1,
       0,
       0x04,
       5,
       250,
       std::nullopt,
       false,
       false},
      {{"--device", "/dev/ttyUSB0", "--back-after", "0", "--hangup-after", "1"},
       -1,
       0,
       0x04,
       1,
       0,
       std::nullopt,
       false,
       false},
  };
  for (const auto& c : cases) {
    std::string error;
    const auto o = parse(c.args, &error);
    ASSERT_TRUE(o) << error;
    const SimulatorOptions& s = o->simulator;
    EXPECT_EQ(s.silentAfter, c.silentAfter) << error;
    EXPECT_EQ(s.exceptionAt, c.exceptionAt);
    EXPECT_EQ(s.exceptionCode, c.exceptionCode);
    EXPECT_EQ(s.hangupAfter, c.hangupAfter);
    EXPECT_EQ(s.backAfterMs, c.backAfterMs);
    EXPECT_EQ(s.glitchByte, c.glitch);
    EXPECT_EQ(s.allAnswerZero, c.allAnswerZero);
    EXPECT_EQ(s.pace, c.pace);
  }
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
                                                     {"--outputs", "1:2:3"},
                                                     {"--silent-after", "-1"},
                                                     {"--exception-at", "0"},
                                                     {"--exception-at", "2:"},
                                                     {"--exception-at", "2:100"},
                                                     {"--exception-at", "2:00"},
                                                     {"--glitch", "100"},
                                                     {"--glitch", ""},
                                                     {"--glitch", "G"},
                                                     {"--hangup-after", "x"},
                                                     {"--hangup-after", "1", "--back-after", "5"},
                                                     {"--link", "/tmp/COM1", "--back-after", "5"}};
  for (const auto& args : bad) {
    std::string error;
    EXPECT_FALSE(parse(args, &error)) << args.back();
    EXPECT_FALSE(error.empty()) << args.back();
  }
}

TEST(CommandLine, HelpDocumentsEveryOption) {
  const std::string help = HelpText();
  for (const char* option :
       {"--device",       "--link",       "--speed",    "--any-speed",       "--address",
        "--turnaround",   "--fault",      "--fault-ms", "--fault-word",      "--outputs",
        "--tcp",          "--version",    "--help",     "--silent-after",    "--exception-at",
        "--hangup-after", "--back-after", "--glitch",   "--all-answer-zero", "--pace"}) {
    EXPECT_NE(help.find(option), std::string::npos) << option;
  }
  EXPECT_TRUE(parse({"-h"})->help);
  EXPECT_TRUE(parse({"--version"})->version);
}

}  // namespace
}  // namespace sim
