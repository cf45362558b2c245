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
  EXPECT_EQ(o->tcpPort, -1);
  EXPECT_FALSE(o->help);
}

TEST(CommandLine, TakesEveryOption) {
  const auto o =
      parse({"--device", "/dev/ttyUSB0", "-l", "/tmp/com1", "--speed", "9600", "-a", "17", "-t",
             "0", "--fault", "split", "--fault-ms", "700", "--tcp", "5000", "--any-speed"});
  ASSERT_TRUE(o);
  EXPECT_EQ(o->simulator.device, "/dev/ttyUSB0");
  EXPECT_EQ(o->simulator.linkPath, "/tmp/com1");
  EXPECT_EQ(o->simulator.interfaceBaudIndex, 2);
  EXPECT_EQ(o->simulator.networkAddress, 17);
  EXPECT_EQ(o->simulator.turnaroundMs, 0);
  EXPECT_EQ(o->simulator.fault, Fault::kSplitReply);
  EXPECT_EQ(o->simulator.faultParamMs, 700);
  EXPECT_EQ(o->tcpPort, 5000);
  EXPECT_FALSE(o->simulator.checkLineSpeed);
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
  const std::vector<std::vector<std::string>> bad = {
      {"--speed", "1200"},  {"--speed", "9600x"}, {"--address", "256"}, {"-t", "-1"},
      {"--fault", "noise"}, {"--tcp", "70000"},   {"--link"},           {"--frobnicate"}};
  for (const auto& args : bad) {
    std::string error;
    EXPECT_FALSE(parse(args, &error)) << args[0];
    EXPECT_FALSE(error.empty()) << args[0];
  }
}

TEST(CommandLine, HelpDocumentsEveryOption) {
  const std::string help = HelpText();
  for (const char* option : {"--device", "--link", "--speed", "--any-speed", "--address",
                             "--turnaround", "--fault", "--fault-ms", "--tcp", "--help"}) {
    EXPECT_NE(help.find(option), std::string::npos) << option;
  }
  EXPECT_TRUE(parse({"-h"})->help);
}

}  // namespace
}  // namespace sim
