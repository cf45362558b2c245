#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "modbus/frame_codec.h"
#include "sim/simulator.h"
#include "test_master.h"

namespace sim {
namespace {

using namespace std::chrono_literals;
using test::bytes;
using test::eventually;
using test::TestMaster;

const std::string kReadIdentification = bytes({0, 0x03, 0, 120, 0, 6});

SimulatorOptions fastOptions() {
  SimulatorOptions o;
  o.turnaroundMs = 0;
  return o;
}

class SimulatorLine : public ::testing::Test {
 protected:
  Simulator sim_{fastOptions()};
  TestMaster master_{sim_.devicePath()};
};

TEST_F(SimulatorLine, AnswersEveryFunctionOverThePseudoTerminal) {
  std::string r = master_.ask(kReadIdentification);
  ASSERT_EQ(r.size(), 15u);
  EXPECT_EQ(r.substr(3), sim_.instrument().holdingBytes(120, 6));
  EXPECT_EQ(static_cast<uint8_t>(r[13]), 7);
  EXPECT_EQ(master_.ask(bytes({0, 0x04, 0, 0, 0, 13})).size(), 29u);
  EXPECT_EQ(master_.ask(bytes({0, 0x10, 0x0F, 0xA0, 0, 4, 8, 9, 5, 3, 1, 1, 2, 24, 0})),
            bytes({0, 0x10, 0x0F, 0xA0, 0, 4}));
  EXPECT_EQ(sim_.instrument().clock().year, 24);
  EXPECT_EQ(master_.ask(bytes({0, 0x0F, 0, 0, 0, 4, 1, 0x0F})), bytes({0, 0x0F, 0, 0, 0, 4}));
  EXPECT_EQ(master_.ask(bytes({0, 0x01, 0, 0, 0, 4})).size(), 4u);
  EXPECT_EQ(master_.ask(bytes({0, 0x02, 0, 0, 0, 4})).size(), 4u);
  EXPECT_EQ(master_.ask(bytes({0, 0x03, 0x23, 0x3A, 0, 16})).size(), 35u) << "archive window";
  EXPECT_EQ(master_.ask(bytes({0, 0x05, 0, 0, 0xFF, 0})), bytes({0, 0x85, 0x01}));
  EXPECT_EQ(master_.ask(bytes({0, 0x03, 0, 200, 0, 1})), bytes({0, 0x83, 0x02}));
  EXPECT_EQ(master_.ask(bytes({0, 0x04, 0, 0, 0, 0})), bytes({0, 0x84, 0x03}));
  EXPECT_EQ(sim_.requestsServed(), 10u);
}

TEST_F(SimulatorLine, AnswersItsNetworkAddressAndIgnoresOthers) {
  sim_.instrument().setNetworkAddress(5);
  EXPECT_EQ(master_.ask(bytes({5, 0x03, 0, 0, 0, 1})).substr(0, 3), bytes({5, 0x03, 2}));
  master_.send(modbus::BuildFrame(bytes({6, 0x03, 0, 0, 0, 1})));
  EXPECT_EQ(master_.ask(kReadIdentification).size(), 15u) << "only the frame to address 0 answered";
}

TEST_F(SimulatorLine, ResynchronisesAfterBadFrames) {
  std::string badLrc = modbus::BuildFrame(kReadIdentification);
  badLrc[badLrc.size() - 3] ^= 0x01;
  master_.send("\x11noise" + badLrc + ":0003" + modbus::BuildFrame(kReadIdentification));
  EXPECT_EQ(modbus::DecodeReply(master_.readFrame()).size(), 15u);
  EXPECT_EQ(sim_.framesRejected(), 2u);
  EXPECT_EQ(master_.readUntilQuiet(100ms), "") << "bad frames got no reply";
  for (int i = 0; i < 3; ++i) EXPECT_EQ(master_.ask(kReadIdentification).size(), 15u);
}

TEST_F(SimulatorLine, AnswersOnlyAtTheInstrumentsOwnSpeed) {
  master_.setSpeed(B9600);
  master_.send(modbus::BuildFrame(kReadIdentification));
  ASSERT_TRUE(eventually([&] { return sim_.speedMismatches() == 1; }));
  EXPECT_EQ(master_.readUntilQuiet(100ms), "");
  master_.setSpeed(B115200);
  EXPECT_EQ(master_.ask(kReadIdentification).size(), 15u);

  sim_.setCheckLineSpeed(false);
  master_.setSpeed(B2400);
  EXPECT_EQ(master_.ask(kReadIdentification).size(), 15u);
}

TEST_F(SimulatorLine, NewInterfaceSpeedComesIntoForceAfterTheReply) {
  // Address 1, speed index 2 (9600), protocol 0, input type 19.
  EXPECT_EQ(master_.ask(bytes({0, 0x10, 0, 0, 0, 2, 4, 1, 2, 0, 19})), bytes({0, 0x10, 0, 0, 0, 2}))
      << "the reply still at 115200";
  // The line switches right after writing the reply, before it reads on.
  EXPECT_TRUE(eventually([&] { return sim_.instrument().interfaceBaudIndex() == 2; }));
  master_.send(modbus::BuildFrame(kReadIdentification));
  ASSERT_TRUE(eventually([&] { return sim_.speedMismatches() == 1; }));
  master_.setSpeed(B9600);
  EXPECT_EQ(master_.ask(kReadIdentification).size(), 15u);
}

TEST_F(SimulatorLine, SplitReplyComesInTwoPartsWithAPause) {
  sim_.setFault(Fault::kSplitReply, 1500);
  master_.send(modbus::BuildFrame(kReadIdentification));
  const std::string first = master_.readUntilQuiet(300ms);
  ASSERT_FALSE(first.empty());
  EXPECT_EQ(first.find('\n'), std::string::npos) << "only the first part before the pause";
  const std::string second = master_.readFrame();
  EXPECT_EQ(modbus::DecodeReply(first + second).size(), 15u);
}

TEST_F(SimulatorLine, EndlessStreamKeepsComingUntilTheFaultIsCleared) {
  sim_.setFault(Fault::kEndlessStream);
  master_.send(modbus::BuildFrame(kReadIdentification));
  // The stream has no pause as long as the quiet window: a read for 1.5 s
  // collects pieces all the way.
  const std::string stream = master_.readUntilQuiet(500ms, 1500ms);
  EXPECT_GT(stream.size(), 40u);
  EXPECT_EQ(stream.substr(0, 5), ":0003");
  sim_.setFault(Fault::kNone);
  master_.readUntilQuiet(300ms);
  EXPECT_EQ(master_.readUntilQuiet(200ms), "");
  EXPECT_EQ(master_.ask(kReadIdentification).size(), 15u);
}

TEST(SimulatorSetup, LinksTheSlaveAndRemovesTheLinkAgain) {
  const std::string dir = ::testing::TempDir() + "sim_link_" + std::to_string(::getpid());
  std::filesystem::create_directories(dir);
  const std::string link = dir + "/COM1";
  {
    SimulatorOptions o = fastOptions();
    o.linkPath = link;
    Simulator sim(o);
    EXPECT_EQ(sim.devicePath(), link);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    TestMaster master(link);
    EXPECT_EQ(master.ask(kReadIdentification).size(), 15u);
  }
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)));
  {
    std::ofstream(link) << "not a link";
    SimulatorOptions o = fastOptions();
    o.linkPath = link;
    EXPECT_THROW(Simulator{o}, std::runtime_error) << "never clobbers a regular file";
    EXPECT_TRUE(std::filesystem::is_regular_file(link));
  }
  std::filesystem::remove_all(dir);
}

TEST(SimulatorSetup, RefusesAMissingDeviceAndServesAGivenOne) {
  SimulatorOptions missing = fastOptions();
  missing.device = "/nonexistent/ttyS99";
  EXPECT_THROW(Simulator{missing}, std::runtime_error);

  // A pseudo-terminal pair of the test's own stands in for a serial cable.
  const int far = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
  ASSERT_GE(far, 0);
  ASSERT_EQ(::grantpt(far), 0);
  ASSERT_EQ(::unlockpt(far), 0);
  SimulatorOptions o = fastOptions();
  o.device = ::ptsname(far);
  o.interfaceBaudIndex = 2;
  {
    Simulator sim(o);
    EXPECT_EQ(sim.devicePath(), o.device);
    termios t{};
    ASSERT_EQ(::tcgetattr(far, &t), 0);
    EXPECT_EQ(::cfgetospeed(&t), speed_t{B9600}) << "device set to the interface speed";
    const std::string frame = modbus::BuildFrame(kReadIdentification);
    ASSERT_EQ(::write(far, frame.data(), frame.size()), static_cast<ssize_t>(frame.size()));
    std::string reply;
    ASSERT_TRUE(eventually([&] {
      char buffer[256];
      const ssize_t n = ::read(far, buffer, sizeof buffer);
      if (n > 0) reply.append(buffer, static_cast<std::size_t>(n));
      return reply.find('\n') != std::string::npos;
    }));
    EXPECT_EQ(modbus::DecodeReply(reply).size(), 15u);
  }
  ::close(far);
}

}  // namespace
}  // namespace sim
