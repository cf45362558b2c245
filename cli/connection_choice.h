#pragma once

#include <optional>
#include <string>

#include "cli/options.h"
#include "transport/af_com_port_core.h"

namespace cli {

// Where and how fast the requests go: a port number with the resolver that
// turns it into a device, as the window does.
struct ConnectionChoice {
  int portNumber = 1;
  int baudIndex = 6;
  transport::DevicePathResolver resolver;
  std::string devicePath;     // for messages
  bool byDevicePath = false;  // --port PATH: no COMn stands for the device
};

// "--port COMn" through section "Ports" of the settings file (or the
// platform's default device), "--port PATH" as it is; without --port, "Com"
// of section "ULM5". The speed from --baud, else "Baud", else 115200.
// Empty with `error` set when the choice cannot be made.
std::optional<ConnectionChoice> ChooseConnection(const Options& options, std::string& error);

}  // namespace cli
