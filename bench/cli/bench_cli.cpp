// "ulm5-cli backup" against the simulator (turnaround 3 ms, 115200 bit/s) in
// real time: the program's wall time against the time the traffic takes on
// the line (every character 10 bits, plus the simulator's turnaround per
// request). With the window's timing every request of a backup waits the
// standard set's response delay (2000 ms) and one check period of more than
// its exchange delay (500 ms); with --fast it ends once the answer is in.
//
//   bench_cli          the window's timing
//   bench_cli --fast   the fast exchange
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "device/link_parameters.h"
#include "sim/simulator.h"

extern char** environ;

namespace {

constexpr int kTurnaroundMs = 3;
constexpr double kBitsPerSecond = 115200;
constexpr double kBitsPerCharacter = 10;  // start, 8 data, stop

}  // namespace

int main(int argc, char** argv) {
  const bool fast = argc > 1 && std::strcmp(argv[1], "--fast") == 0;
  sim::SimulatorOptions options;
  options.turnaroundMs = kTurnaroundMs;
  sim::Simulator simulator(options);

  const std::string file = (std::filesystem::temp_directory_path() /
                            ("bench-cli-" + std::to_string(::getpid()) + ".json"))
                               .string();
  const std::string port = simulator.devicePath();
  std::vector<const char*> args = {ULM5_CLI_PATH, "--port", port.c_str(), "--baud", "115200"};
  if (fast) args.push_back("--fast");
  for (const char* a : {"backup", file.c_str()}) args.push_back(a);
  args.push_back(nullptr);

  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  if (::posix_spawn(&pid, ULM5_CLI_PATH, nullptr, nullptr, const_cast<char* const*>(args.data()),
                    environ) != 0) {
    std::perror("posix_spawn");
    return 1;
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  const double wallMs =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  std::filesystem::remove(file);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "ulm5-cli backup failed\n");
    return 1;
  }

  const uint64_t requests = simulator.requestsServed();
  const uint64_t characters = simulator.bytesReceived() + simulator.bytesSent();
  const double lineMs =
      1000.0 * static_cast<double>(characters) * kBitsPerCharacter / kBitsPerSecond +
      static_cast<double>(requests) * kTurnaroundMs;
  const double perRequestMs =
      device::kStandardTiming.responseDelay + device::kStandardTiming.exchangeDelay;
  const double fixedMs = fast ? 0.0 : static_cast<double>(requests) * perRequestMs;
  std::printf("backup%s: %llu requests, %llu characters, %.0f ms wall, %.1f ms on the line\n",
              fast ? " --fast" : "", static_cast<unsigned long long>(requests),
              static_cast<unsigned long long>(characters), wallMs, lineMs);
  std::printf(
      "BENCH cli%s wall_ms=%.0f line_ms=%.1f ratio=%.2f requests=%llu fixed_ms=%.0f "
      "overhead_ms=%.0f\n",
      fast ? "_fast" : "", wallMs, lineMs, wallMs / lineMs,
      static_cast<unsigned long long>(requests), fixedMs, wallMs - fixedMs);
  return 0;
}
