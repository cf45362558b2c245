#pragma once

// termios2 carries arbitrary bit rates (BOTHER); it comes from the kernel's
// header, which cannot be mixed with <termios.h>.
#include <asm/termbits.h>

#include <cstdint>

#include "transport/dcb.h"

namespace transport::posix {

// Raw mode: no line editing, no echo, no translation; reads return at once
// with what is waiting; the receiver on and modem control lines ignored.
void makeRaw(termios2& t);

// Each line setting maps onto termios by one function; false when termios
// cannot express it (t is then unchanged).
bool mapBaudRate(termios2& t, uint32_t bitsPerSecond);
bool mapDataBits(termios2& t, uint8_t byteSize);
bool mapParity(termios2& t, uint8_t parity, bool checkInput);
bool mapStopBits(termios2& t, uint8_t stopBits);
bool mapFlowControl(termios2& t, uint32_t dcbFlags, char xonChar, char xoffChar);

// All of the block onto t (starting from the device's current settings);
// false at the first setting termios cannot express.
bool termiosFromDcb(const DCB& dcb, termios2& t);
// The block the device really has: the settings termios carries, the rest
// (flag bits termios has no word for, limits, characters) from `base`.
DCB dcbFromTermios(const termios2& t, const DCB& base);
// The fields the block sets, compared after the device has taken them.
bool sameLineSettings(const termios2& wanted, const termios2& actual);

uint32_t bitRateOf(const termios2& t);

}  // namespace transport::posix
