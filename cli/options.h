#pragma once

#include <optional>
#include <string>
#include <vector>

#include "backup/block_choice.h"
#include "device/line_scan.h"

namespace cli {

enum class Command { kFind, kBackup, kRestore, kDiff, kClock, kWatch, kArchive, kSet, kScan };

// The command line, checked for form only: values the device operations
// judge (a correction, a field's value) are passed on as typed.
struct Options {
  Command command = Command::kFind;

  // Connection: "COMn" (through the settings file's section "Ports") or a
  // device path; empty takes "Com" of the settings file.
  std::string port;
  std::optional<int> baudIndex;  // empty takes "Baud" of the settings file, else 115200
  bool find = false;             // search every speed from 2400 upwards first
  std::string settingsPath;
  int address = 0;     // the instrument addressed on a multi-drop line
  bool fast = false;   // end an exchange as soon as its answer is in
  bool trace = false;  // every frame to stderr with its time

  bool json = false;             // find, diff, clock, watch, restore, scan
  std::string file;              // backup, restore, diff; "-" is standard output for backup
  bool dryRun = false;           // restore
  backup::BlockChoice only;      // restore
  bool withCalibration = false;  // restore onto another serial number
  bool skipUnwritable = false;   // restore
  bool fromValues = false;       // restore: the "value" texts win over the bytes
  bool withLink = false;         // restore: also the address, speed and protocol

  std::optional<std::string> set;  // clock: "dd.mm.yy hh:mm:ss" or ISO 8601
  bool setNow = false;             // clock
  std::string correction = "0";    // clock

  std::optional<int> count;     // watch (none: until Ctrl+C), archive
  bool csv = false;             // watch
  bool csvPointFormat = false;  // watch --csv-format c: "," between cells, "." in numbers
  std::string csvFile;          // archive: the records as the archive page saves them

  std::vector<std::string> assignments;  // set: FIELD=VALUE

  int scanTimeoutMs = device::kScanWaitMs;     // scan: the wait for an address that does not answer
  int scanFirst = device::kLowestUnitAddress;  // scan: the addresses tried
  int scanLast = device::kHighestInstrumentAddress;
};

}  // namespace cli
