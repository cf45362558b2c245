// ulm5-cli's main function against the simulator on a pseudo-terminal, with
// the exchanges on a tick scaled by 10: the standard set's response delay
// takes 200 ms of real time and its exchange delay 50 ms, against a 3 ms
// turnaround and replies written in one piece.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <bit>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/run.h"
#include "modbus/steady_tick.h"
#include "sim/simulator.h"

namespace cli_test {

constexpr uint32_t kTimeScale = 10;

inline std::string singleBytes(uint32_t bits) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>(bits >> (8 * i));
  return bytes;
}

inline std::string singleBytes(float value) { return singleBytes(std::bit_cast<uint32_t>(value)); }

inline bool has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// Several instruments on the simulator's line, at these addresses in order.
inline sim::SimulatorOptions lineOf(std::vector<uint8_t> addresses, bool allAnswerZero = false) {
  sim::SimulatorOptions o;
  o.networkAddress = addresses.front();
  o.moreAddresses.assign(addresses.begin() + 1, addresses.end());
  o.allAnswerZero = allAnswerZero;
  return o;
}

class CliAgainstSimulator : public ::testing::Test {
 protected:
  struct Result {
    int code;
    std::string out;
    std::string err;
  };

  explicit CliAgainstSimulator(sim::SimulatorOptions options = {})
      : simulator_(std::move(options)) {
    char dir[] = "/tmp/ulm5-cli-test-XXXXXX";
    dir_ = ::mkdtemp(dir);
    // The program's writes go to a log of the test's own, never the user's.
    ::setenv("XDG_STATE_HOME", (dir_ + "/state").c_str(), 1);
  }
  ~CliAgainstSimulator() override { std::filesystem::remove_all(dir_); }

  Result run(const std::vector<std::string>& args, bool errIsTerminal = false) {
    return runOnTick(args, errIsTerminal, tick_);
  }

  // On the real tick. The fast timing set (the clock read, watch) looks for
  // the reply 50 ms after the request: 5 ms of real time on the scaled tick,
  // less than a loaded machine may take to let the simulator's thread answer.
  Result runAtRealTime(const std::vector<std::string>& args) {
    return runOnTick(args, false, realTick_);
  }

  Result runOnTick(const std::vector<std::string>& args, bool errIsTerminal,
                   modbus::TickSource& tick) {
    std::ostringstream out;
    std::ostringstream err;
    cli::Terminal terminal{out, err, errIsTerminal};
    const int code = cli::Run(args, terminal, &tick);
    return {code, out.str(), err.str()};
  }

  // The program itself, with these environment variables added.
  static Result runProgram(const std::vector<std::string>& args,
                           const std::vector<std::string>& environment) {
    int out[2];
    int err[2];
    if (::pipe(out) != 0 || ::pipe(err) != 0) return {-1, "", "pipe"};
    const pid_t pid = ::fork();
    if (pid == 0) {
      ::dup2(out[1], 1);
      ::dup2(err[1], 2);
      for (const std::string& variable : environment) ::putenv(const_cast<char*>(variable.c_str()));
      std::vector<char*> argv = {const_cast<char*>(ULM5_CLI_PATH)};
      for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
      ::execv(ULM5_CLI_PATH, argv.data());
      ::_exit(127);
    }
    ::close(out[1]);
    ::close(err[1]);
    Result result{-1, drain(out[0]), drain(err[0])};
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (WIFEXITED(status)) result.code = WEXITSTATUS(status);
    return result;
  }

  // The simulator's port at a speed, then the subcommand.
  std::vector<std::string> at(const char* baud, std::vector<std::string> command) const {
    std::vector<std::string> args = {"--port", simulator_.devicePath(), "--baud", baud};
    args.insert(args.end(), command.begin(), command.end());
    return args;
  }

  std::string path(const std::string& name) const { return dir_ + "/" + name; }

  static std::string read(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

  // Everything until the writer closes; small outputs, read one after the other.
  static std::string drain(int fd) {
    std::string text;
    char buffer[4096];
    ssize_t n = 0;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<size_t>(n));
    ::close(fd);
    return text;
  }

  static void write(const std::string& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
  }

  std::string holding() { return simulator_.instrument().holdingBytes(0, 186); }

  sim::Simulator simulator_;
  modbus::SteadyTick tick_{kTimeScale};
  modbus::SteadyTick realTick_{1};
  std::string dir_;
};

}  // namespace cli_test
