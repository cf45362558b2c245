// ulm5-cli's main function against the simulator on a pseudo-terminal, with
// the exchanges on a tick scaled by 10: the standard set's response delay
// takes 200 ms of real time and its exchange delay 50 ms, against a 3 ms
// turnaround and replies written in one piece.
#pragma once

#include <gtest/gtest.h>
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
  }
  ~CliAgainstSimulator() override { std::filesystem::remove_all(dir_); }

  Result run(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    cli::Terminal terminal{out, err, false};
    const int code = cli::Run(args, terminal, &tick_);
    return {code, out.str(), err.str()};
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

  static void write(const std::string& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
  }

  std::string holding() { return simulator_.instrument().holdingBytes(0, 186); }

  sim::Simulator simulator_;
  modbus::SteadyTick tick_{kTimeScale};
  std::string dir_;
};

}  // namespace cli_test
