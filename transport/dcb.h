#pragma once

#include <cstdint>

namespace transport {

// The line parameter block: the 28-byte serial parameter record with the
// Win32 DCB field layout. Its flag bits are those of the DCB bitfield.
struct DCB {
  uint32_t DCBlength = 0;
  uint32_t BaudRate = 0;
  uint32_t Flags = 0;
  uint16_t wReserved = 0;
  uint16_t XonLim = 0;
  uint16_t XoffLim = 0;
  uint8_t ByteSize = 0;
  uint8_t Parity = 0;
  uint8_t StopBits = 0;
  char XonChar = 0;
  char XoffChar = 0;
  char ErrorChar = 0;
  char EofChar = 0;
  char EvtChar = 0;
  uint16_t wReserved1 = 0;

  bool operator==(const DCB&) const = default;
};
static_assert(sizeof(DCB) == 28, "the block has the platform's 28-byte layout");

namespace dcb_flags {
inline constexpr uint32_t fBinary = 0x0001;
inline constexpr uint32_t fParity = 0x0002;
inline constexpr uint32_t fOutxCtsFlow = 0x0004;
inline constexpr uint32_t fOutxDsrFlow = 0x0008;
inline constexpr uint32_t fDtrControlMask = 0x0030;
inline constexpr uint32_t fDtrControlEnable = 0x0010;
inline constexpr uint32_t fDtrControlHandshake = 0x0020;
inline constexpr uint32_t fDsrSensitivity = 0x0040;
inline constexpr uint32_t fTXContinueOnXoff = 0x0080;
inline constexpr uint32_t fOutX = 0x0100;
inline constexpr uint32_t fInX = 0x0200;
inline constexpr uint32_t fErrorChar = 0x0400;
inline constexpr uint32_t fNull = 0x0800;
inline constexpr uint32_t fRtsControlMask = 0x3000;
inline constexpr uint32_t fRtsControlEnable = 0x1000;
inline constexpr uint32_t fRtsControlHandshake = 0x2000;
inline constexpr uint32_t fRtsControlToggle = 0x3000;
inline constexpr uint32_t fAbortOnError = 0x4000;
}  // namespace dcb_flags

// Parity and stop-bit codes of the block.
inline constexpr uint8_t NOPARITY = 0, ODDPARITY = 1, EVENPARITY = 2, MARKPARITY = 3,
                         SPACEPARITY = 4;
inline constexpr uint8_t ONESTOPBIT = 0, ONE5STOPBITS = 1, TWOSTOPBITS = 2;

}  // namespace transport
