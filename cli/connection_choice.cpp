#include "cli/connection_choice.h"

#include <charconv>
#include <fstream>
#include <sstream>

#include "cli/native_file_name.h"
#include "settings/port_device_path.h"
#include "settings/profile_text.h"

namespace cli {

namespace {

constexpr const char* kSection = "ULM5";
constexpr int kHighestPortNumber = 32;
constexpr int kHighestBaudIndex = 6;

std::optional<int> comNumber(const std::string& port) {
  if (port.size() < 4) return std::nullopt;
  for (size_t i = 0; i < 3; ++i) {
    if ((port[i] & ~0x20) != "COM"[i]) return std::nullopt;
  }
  int number = 0;
  const char* end = port.data() + port.size();
  const auto [at, error] = std::from_chars(port.data() + 3, end, number);
  if (error != std::errc() || at != end || number < 1 || number > kHighestPortNumber) {
    return std::nullopt;
  }
  return number;
}

}  // namespace

std::optional<ConnectionChoice> ChooseConnection(const Options& options, std::string& error) {
  settings::ProfileText profile;
  if (!options.settingsPath.empty()) {
    std::ifstream file(NativeFileName(options.settingsPath), std::ios::binary);
    if (!file) {
      error = "cannot read the settings file " + options.settingsPath;
      return std::nullopt;
    }
    std::ostringstream text;
    text << file.rdbuf();
    profile = settings::ProfileText::parse(text.str());
  }

  ConnectionChoice choice;
  if (options.port.empty()) {
    const auto stored = profile.integer(kSection, "Com");
    if (!stored || *stored < 1 || *stored > kHighestPortNumber) {
      error = "no port: give --port COMn or a device path, or a settings file with a port";
      return std::nullopt;
    }
    choice.portNumber = *stored;
  } else if (const auto number = comNumber(options.port)) {
    choice.portNumber = *number;
  } else if (options.port.find_first_of("/\\") != std::string::npos) {  // also \\.\COM12
    choice.devicePath = options.port;
    choice.byDevicePath = true;
    choice.resolver = [path = options.port](int) { return path; };
  } else {
    error = "--port takes COM1 to COM32 or a device path, not " + options.port;
    return std::nullopt;
  }
  if (!choice.resolver) {
    choice.devicePath = settings::PortDevicePath(profile, choice.portNumber);
    choice.resolver = [profile](int number) { return settings::PortDevicePath(profile, number); };
  }

  if (options.baudIndex) {
    choice.baudIndex = *options.baudIndex;
  } else if (const auto stored = profile.integer(kSection, "Baud");
             stored && *stored >= 0 && *stored <= kHighestBaudIndex) {
    choice.baudIndex = *stored;
  }
  return choice;
}

}  // namespace cli
