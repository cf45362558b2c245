#pragma once

#include <QString>
#include <string>

#include "ui/profile_file.h"

// The connection panel's settings in section "ULM5" and the COMn device
// paths of section "Ports" in Configurator.ini.
namespace connection_settings {

inline constexpr int kDefaultPortNumber = 1;
inline constexpr int kDefaultBaudIndex = 6;  // 115200 bit/s

// "Com" (1..32). A missing or out-of-range value gives 1, written back at once
// (may raise ProfileFile::WriteError after the value is known: `*value` is set
// before the write).
void restorePortNumber(ProfileFile& file, int* value);
// "Baud" (0..6). A missing or out-of-range value gives 6, written back at once.
void restoreBaudIndex(ProfileFile& file, int* value);

// "Address" (0..247). A missing or out-of-range value gives 0, written back at once.
void restoreAddress(ProfileFile& file, int* value);

// "FastExchange": 1 ends each exchange as soon as its answer is in; absent
// or any other value keeps the window's timing.
bool fastExchange(const ProfileFile& file);

void storePortNumber(ProfileFile& file, int portNumber);
void storeBaudIndex(ProfileFile& file, int baudIndex);
void storeAddress(ProfileFile& file, int address);
void storeFastExchange(ProfileFile& file, bool on);

// The device behind COMn: key "COMn" of section "Ports" if present, else
// /dev/ttyS(n-1).
std::string portDevicePath(const ProfileFile& file, int comNumber);
// Maps COMn to a device path (the simulator's pseudo-terminal, a USB adapter).
void mapPortDevice(ProfileFile& file, int comNumber, const std::string& devicePath);

}  // namespace connection_settings
