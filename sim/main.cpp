#include <signal.h>

#include <cstdio>
#include <exception>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "sim/command_line.h"
#include "sim/simulator.h"
#include "sim/tcp_test_peer.h"
#include "ulm5_version.h"

int main(int argc, char** argv) {
  std::string error;
  const auto options =
      sim::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc), error);
  if (!options) {
    std::cerr << "ulm5-sim: " << error << "\nПодробнее: ulm5-sim --help\n";
    return 2;
  }
  if (options->version) {
    std::cout << "ulm5-sim " << kUlm5Version << '\n';
    return 0;
  }
  if (options->help) {
    std::cout << sim::HelpText();
    return 0;
  }
  // Block the ending signals before any thread starts, so every thread inherits
  // the mask and only sigwait below receives them.
  sigset_t ending;
  sigemptyset(&ending);
  sigaddset(&ending, SIGINT);
  sigaddset(&ending, SIGTERM);
  sigaddset(&ending, SIGHUP);
  pthread_sigmask(SIG_BLOCK, &ending, nullptr);
  try {
    sim::Simulator simulator(options->simulator);
    std::unique_ptr<sim::TcpTestPeer> peer;
    if (options->tcpPort >= 0) {
      peer = std::make_unique<sim::TcpTestPeer>(static_cast<uint16_t>(options->tcpPort));
    }
    std::cout << simulator.devicePath() << std::endl;
    std::cerr << "ulm5-sim: прибор на линии " << simulator.devicePath();
    if (peer) std::cerr << ", TCP 127.0.0.1:" << peer->port();
    std::cerr << std::endl;
    int signal = 0;
    sigwait(&ending, &signal);
    std::cerr << "ulm5-sim: остановлен, ответов: " << simulator.requestsServed() << std::endl;
  } catch (const std::exception& e) {
    std::cerr << "ulm5-sim: " << e.what() << std::endl;
    return 1;
  }
  return 0;
}
