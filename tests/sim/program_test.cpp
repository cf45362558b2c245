#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "test_master.h"

extern char** environ;

namespace sim {
namespace {

// The ulm5-sim program as a child owned by its PID; its first output line is
// the device path, read through a pipe (no sleeping for readiness).
class SimProcess {
 public:
  explicit SimProcess(std::vector<std::string> args) {
    int out[2];
    if (::pipe(out) != 0) throw std::runtime_error("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    args.insert(args.begin(), ULM5_SIM_PROGRAM);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    const int rc = ::posix_spawn(&pid_, ULM5_SIM_PROGRAM, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    if (rc != 0) {
      ::close(out[0]);
      throw std::runtime_error("spawn");
    }
    output_ = ::fdopen(out[0], "r");
  }
  ~SimProcess() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    if (output_) std::fclose(output_);
  }

  std::string readLine() {
    char line[512] = {};
    if (!std::fgets(line, sizeof line, output_)) return {};
    std::string s = line;
    if (!s.empty() && s.back() == '\n') s.pop_back();
    return s;
  }
  std::string readAll() {
    std::string s;
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, output_)) > 0) s.append(buffer, n);
    return s;
  }
  // Sends `signal` and returns the exit status.
  int endWith(int signal) {
    ::kill(pid_, signal);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return status;
  }
  int wait() {
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return status;
  }

 private:
  pid_t pid_ = -1;
  FILE* output_ = nullptr;
};

TEST(Program, ServesUntilCtrlCAndCleansUp) {
  const std::string link = ::testing::TempDir() + "ulm5_sim_com_" + std::to_string(::getpid());
  SimProcess sim({"--link", link, "--turnaround", "0"});
  ASSERT_EQ(sim.readLine(), link);
  {
    test::TestMaster master(link);
    EXPECT_EQ(master.ask(test::bytes({0, 0x03, 0, 120, 0, 6})).size(), 15u);
  }
  const int status = sim.endWith(SIGINT);
  ASSERT_TRUE(WIFEXITED(status)) << "ended by the signal instead of handling it";
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)));
}

TEST(Program, HelpAndBadArguments) {
  SimProcess help({"--help"});
  const std::string text = help.readAll();
  EXPECT_NE(text.find("--fault"), std::string::npos);
  EXPECT_EQ(WEXITSTATUS(help.wait()), 0);
  SimProcess bad({"--speed", "1234"});
  EXPECT_EQ(bad.readAll(), "");
  EXPECT_EQ(WEXITSTATUS(bad.wait()), 2);
}

}  // namespace
}  // namespace sim
