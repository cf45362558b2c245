#pragma once

#include <optional>
#include <string>

namespace cli {

enum class Command { kFind, kBackup, kRestore, kDiff, kClock, kWatch, kArchive };

// The command line, checked for form only: values the device operations
// judge (a clock text, a correction) are passed on as typed.
struct Options {
  Command command = Command::kFind;

  // Connection: "COMn" (through the settings file's section "Ports") or a
  // device path; empty takes "Com" of the settings file.
  std::string port;
  std::optional<int> baudIndex;  // empty takes "Baud" of the settings file, else 115200
  bool find = false;             // search every speed from 2400 upwards first
  std::string settingsPath;

  bool json = false;    // find
  std::string file;     // backup, restore, diff
  bool dryRun = false;  // restore

  bool setNow = false;             // clock
  std::optional<std::string> set;  // clock: "dd.mm.yy hh:mm:ss"
  std::string correction = "0";    // clock

  std::optional<int> count;  // watch (none: until Ctrl+C), archive
  bool csv = false;          // watch
  std::string csvFile;       // archive: the records as the archive page saves them
};

}  // namespace cli
