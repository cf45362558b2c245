#pragma once

// <windows.h> for the Win32 backend and its tests. The port core declares the
// line events, error bits, purge actions and DCB codes as C++ constants with
// the platform's values; the API's macros of the same names would replace
// them, so their values are kept here for the checks and the macros dropped.
#include <windows.h>

namespace transport::win32::api {

inline constexpr DWORD kSetRts = SETRTS, kClrRts = CLRRTS, kSetDtr = SETDTR, kClrDtr = CLRDTR;
inline constexpr DWORD kEvRxChar = EV_RXCHAR, kEvCts = EV_CTS, kEvDsr = EV_DSR, kEvRlsd = EV_RLSD,
                       kEvErr = EV_ERR, kEvRing = EV_RING;
inline constexpr DWORD kCeRxOver = CE_RXOVER, kCeOverrun = CE_OVERRUN, kCeRxParity = CE_RXPARITY,
                       kCeFrame = CE_FRAME, kCeBreak = CE_BREAK;
inline constexpr DWORD kPurgeTxAbort = PURGE_TXABORT, kPurgeRxAbort = PURGE_RXABORT,
                       kPurgeTxClear = PURGE_TXCLEAR, kPurgeRxClear = PURGE_RXCLEAR;
inline constexpr BYTE kNoParity = NOPARITY, kOddParity = ODDPARITY, kEvenParity = EVENPARITY,
                      kMarkParity = MARKPARITY, kSpaceParity = SPACEPARITY;
inline constexpr BYTE kOneStopBit = ONESTOPBIT, kOne5StopBits = ONE5STOPBITS,
                      kTwoStopBits = TWOSTOPBITS;

}  // namespace transport::win32::api

#undef SETRTS
#undef CLRRTS
#undef SETDTR
#undef CLRDTR
#undef EV_RXCHAR
#undef EV_CTS
#undef EV_DSR
#undef EV_RLSD
#undef EV_ERR
#undef EV_RING
#undef CE_RXOVER
#undef CE_OVERRUN
#undef CE_RXPARITY
#undef CE_FRAME
#undef CE_BREAK
#undef PURGE_TXABORT
#undef PURGE_RXABORT
#undef PURGE_TXCLEAR
#undef PURGE_RXCLEAR
#undef NOPARITY
#undef ODDPARITY
#undef EVENPARITY
#undef MARKPARITY
#undef SPACEPARITY
#undef ONESTOPBIT
#undef ONE5STOPBITS
#undef TWOSTOPBITS
