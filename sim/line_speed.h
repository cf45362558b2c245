#pragma once

#include <chrono>
#include <cstddef>

namespace sim {

// Output speed of a terminal in bit/s, non-standard speeds included; 0 if it
// cannot be read. On a pseudo-terminal master this is what the slave side set.
int ReadLineSpeed(int fd);
// Sets both speeds; false if the driver refused or dropped it.
bool WriteLineSpeed(int fd, int bitsPerSecond);

// Bit/s of an interface speed index 0..6, 0 outside the table.
int BitsPerSecondOfIndex(int index);

// Time `characters` take on the wire at `bitsPerSecond`, ten bits each (start,
// eight data, stop); zero at an unknown speed.
std::chrono::nanoseconds WireTime(std::size_t characters, int bitsPerSecond);

}  // namespace sim
