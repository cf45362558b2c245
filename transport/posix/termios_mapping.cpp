#include "transport/posix/termios_mapping.h"

#include <array>
#include <utility>

namespace transport::posix {
namespace {

constexpr std::array<std::pair<uint32_t, tcflag_t>, 30> kStandardRates = {{
    {50, B50},           {75, B75},           {110, B110},         {134, B134},
    {150, B150},         {200, B200},         {300, B300},         {600, B600},
    {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
    {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
    {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
    {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
    {3500000, B3500000}, {4000000, B4000000},
}};

constexpr tcflag_t kParityBits = PARENB | PARODD | CMSPAR;

}  // namespace

void makeRaw(termios2& t) {
  t.c_iflag &= ~tcflag_t(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF |
                         IXANY | INPCK | IGNPAR | IUCLC | IMAXBEL);
  t.c_oflag &= ~tcflag_t(OPOST);
  t.c_lflag &=
      ~tcflag_t(ECHO | ECHONL | ICANON | ISIG | IEXTEN | ECHOE | ECHOK | ECHOCTL | ECHOKE | TOSTOP);
  t.c_cflag |= CLOCAL | CREAD;
  t.c_cflag &= ~tcflag_t(HUPCL);
  t.c_cc[VMIN] = 0;
  t.c_cc[VTIME] = 0;
}

bool mapBaudRate(termios2& t, uint32_t bitsPerSecond) {
  // 0 would mean "hang up", not a speed.
  if (bitsPerSecond == 0) return false;
  t.c_cflag &= ~tcflag_t(CBAUD | (CBAUD << IBSHIFT));
  tcflag_t code = BOTHER;
  for (const auto& [rate, constant] : kStandardRates) {
    if (rate == bitsPerSecond) code = constant;
  }
  t.c_cflag |= code;
  t.c_ispeed = bitsPerSecond;
  t.c_ospeed = bitsPerSecond;
  return true;
}

bool mapDataBits(termios2& t, uint8_t byteSize) {
  tcflag_t size = 0;
  switch (byteSize) {
    case 5:
      size = CS5;
      break;
    case 6:
      size = CS6;
      break;
    case 7:
      size = CS7;
      break;
    case 8:
      size = CS8;
      break;
    default:
      return false;
  }
  t.c_cflag = (t.c_cflag & ~tcflag_t(CSIZE)) | size;
  return true;
}

bool mapParity(termios2& t, uint8_t parity, bool checkInput) {
  tcflag_t bits = 0;
  switch (parity) {
    case NOPARITY:
      break;
    case ODDPARITY:
      bits = PARENB | PARODD;
      break;
    case EVENPARITY:
      bits = PARENB;
      break;
    // Stick parity: with CMSPAR, PARODD selects a parity bit of constant 1.
    case MARKPARITY:
      bits = PARENB | CMSPAR | PARODD;
      break;
    case SPACEPARITY:
      bits = PARENB | CMSPAR;
      break;
    default:
      return false;
  }
  t.c_cflag = (t.c_cflag & ~kParityBits) | bits;
  // A byte with a parity error reads as 0, as the block's error character 0
  // does.
  t.c_iflag &= ~tcflag_t(INPCK | IGNPAR | PARMRK);
  if (checkInput && bits != 0) t.c_iflag |= INPCK;
  return true;
}

bool mapStopBits(termios2& t, uint8_t stopBits) {
  switch (stopBits) {
    case ONESTOPBIT:
      t.c_cflag &= ~tcflag_t(CSTOPB);
      return true;
    case TWOSTOPBITS:
      t.c_cflag |= CSTOPB;
      return true;
    default:
      return false;  // one and a half has no termios setting
  }
}

bool mapFlowControl(termios2& t, uint32_t flags, char xonChar, char xoffChar) {
  using namespace dcb_flags;
  // DSR has no termios handshake; RTS toggling needs RS-485 mode.
  if (flags & (fOutxDsrFlow | fDsrSensitivity)) return false;
  if ((flags & fDtrControlMask) == fDtrControlHandshake) return false;
  if ((flags & fRtsControlMask) == fRtsControlToggle) return false;
  const bool ctsFlow = (flags & fOutxCtsFlow) != 0;
  const bool rtsFlow = (flags & fRtsControlMask) == fRtsControlHandshake;
  // CRTSCTS couples both directions: one without the other is not expressible.
  if (ctsFlow != rtsFlow) return false;
  if (ctsFlow) {
    t.c_cflag |= CRTSCTS;
  } else {
    t.c_cflag &= ~tcflag_t(CRTSCTS);
  }
  t.c_iflag &= ~tcflag_t(IXON | IXOFF | IXANY);
  if (flags & fOutX) t.c_iflag |= IXON;
  if (flags & fInX) t.c_iflag |= IXOFF;
  t.c_cc[VSTART] = static_cast<cc_t>(xonChar);
  t.c_cc[VSTOP] = static_cast<cc_t>(xoffChar);
  return true;
}

bool termiosFromDcb(const DCB& dcb, termios2& t) {
  // fNull (discard NUL bytes) has no termios counterpart either.
  if (dcb.Flags & dcb_flags::fNull) return false;
  termios2 next = t;
  makeRaw(next);
  if (!mapBaudRate(next, dcb.BaudRate) || !mapDataBits(next, dcb.ByteSize) ||
      !mapParity(next, dcb.Parity, (dcb.Flags & dcb_flags::fParity) != 0) ||
      !mapStopBits(next, dcb.StopBits) ||
      !mapFlowControl(next, dcb.Flags, dcb.XonChar, dcb.XoffChar)) {
    return false;
  }
  t = next;
  return true;
}

uint32_t bitRateOf(const termios2& t) {
  const tcflag_t code = t.c_cflag & CBAUD;
  if (code == BOTHER) return t.c_ospeed;
  for (const auto& [rate, constant] : kStandardRates) {
    if (constant == code) return rate;
  }
  return 0;
}

DCB dcbFromTermios(const termios2& t, const DCB& base) {
  using namespace dcb_flags;
  DCB dcb = base;
  dcb.DCBlength = sizeof(DCB);
  dcb.BaudRate = bitRateOf(t);
  switch (t.c_cflag & CSIZE) {
    case CS5:
      dcb.ByteSize = 5;
      break;
    case CS6:
      dcb.ByteSize = 6;
      break;
    case CS7:
      dcb.ByteSize = 7;
      break;
    default:
      dcb.ByteSize = 8;
      break;
  }
  const tcflag_t parity = t.c_cflag & kParityBits;
  if (!(parity & PARENB)) {
    dcb.Parity = NOPARITY;
  } else if (parity & CMSPAR) {
    dcb.Parity = (parity & PARODD) ? MARKPARITY : SPACEPARITY;
  } else {
    dcb.Parity = (parity & PARODD) ? ODDPARITY : EVENPARITY;
  }
  dcb.StopBits = (t.c_cflag & CSTOPB) ? TWOSTOPBITS : ONESTOPBIT;
  dcb.Flags &= ~(fOutxCtsFlow | fOutX | fInX | fParity);
  if ((dcb.Flags & fRtsControlMask) == fRtsControlHandshake) dcb.Flags &= ~fRtsControlMask;
  if (t.c_cflag & CRTSCTS) {
    dcb.Flags = (dcb.Flags & ~fRtsControlMask) | fOutxCtsFlow | fRtsControlHandshake;
  }
  if (t.c_iflag & IXON) dcb.Flags |= fOutX;
  if (t.c_iflag & IXOFF) dcb.Flags |= fInX;
  if (t.c_iflag & INPCK) dcb.Flags |= fParity;
  dcb.XonChar = static_cast<char>(t.c_cc[VSTART]);
  dcb.XoffChar = static_cast<char>(t.c_cc[VSTOP]);
  return dcb;
}

bool sameLineSettings(const termios2& wanted, const termios2& actual) {
  constexpr tcflag_t kCflags = CSIZE | kParityBits | CSTOPB | CRTSCTS | CLOCAL | CREAD;
  constexpr tcflag_t kIflags = IXON | IXOFF | INPCK;
  return (wanted.c_cflag & kCflags) == (actual.c_cflag & kCflags) &&
         (wanted.c_iflag & kIflags) == (actual.c_iflag & kIflags) &&
         bitRateOf(wanted) == bitRateOf(actual) && (actual.c_lflag & ICANON) == 0 &&
         actual.c_cc[VMIN] == 0 && actual.c_cc[VTIME] == 0;
}

}  // namespace transport::posix
