// "ulm5-cli backup" against the simulator (turnaround 3 ms) in real time:
// the program's wall time, and how much of it the fixed timing sets take.
// Every request of a backup uses the standard set: it waits its response
// delay (2000 ms) before the first look at the reply, then one check period
// of more than the exchange delay (500 ms) to see the line silent. What the
// requests cost beyond that is the configurator's own overhead.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "device/link_parameters.h"
#include "sim/simulator.h"

extern char** environ;

int main() {
  sim::SimulatorOptions options;
  options.turnaroundMs = 3;
  sim::Simulator simulator(options);

  const std::string file = (std::filesystem::temp_directory_path() /
                            ("bench-cli-" + std::to_string(::getpid()) + ".json"))
                               .string();
  const std::string port = simulator.devicePath();
  const char* argv[] = {ULM5_CLI_PATH, "--port", port.c_str(), "backup", file.c_str(), nullptr};

  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  if (::posix_spawn(&pid, ULM5_CLI_PATH, nullptr, nullptr, const_cast<char* const*>(argv),
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
  const double perRequestMs =
      device::kStandardTiming.responseDelay + device::kStandardTiming.exchangeDelay;
  const double fixedMs = static_cast<double>(requests) * perRequestMs;
  const double overheadMs = wallMs - fixedMs;
  std::printf("backup: %llu requests in %.0f ms, fixed delays %.0f ms, overhead %.0f ms\n",
              static_cast<unsigned long long>(requests), wallMs, fixedMs, overheadMs);
  std::printf(
      "BENCH cli wall_ms=%.0f requests=%llu fixed_ms=%.0f fixed_share=%.2f "
      "overhead_ms=%.0f overhead_share=%.2f\n",
      wallMs, static_cast<unsigned long long>(requests), fixedMs, 100.0 * fixedMs / wallMs,
      overheadMs, 100.0 * overheadMs / wallMs);
  return 0;
}
