#pragma once

#include <cstdint>
#include <initializer_list>

namespace transport {

enum class TAfBaudrate : uint8_t {
  br110,
  br300,
  br600,
  br1200,
  br2400,
  br4800,
  br9600,
  br14400,
  br19200,
  br38400,
  br56000,
  br57600,
  br115200,
  br128000,
  br256000,
  brUser
};
enum class TAfDatabits : uint8_t { db4, db5, db6, db7, db8 };
enum class TAfParity : uint8_t { paNone, paOdd, paEven, paMark, paSpace };
enum class TAfStopbits : uint8_t { sbOne, sbOneAndHalf, sbTwo };
enum class TAfFlowControl : uint8_t { fwNone, fwXOnXOff, fwRtsCts, fwDtrDsr };
enum class TAfComOption : uint8_t {
  coParityCheck,
  coDsrSensitivity,
  coIgnoreXOff,
  coErrorChar,
  coStripNull
};
enum class TThreadPriority : uint8_t {
  tpIdle,
  tpLowest,
  tpLower,
  tpNormal,
  tpHigher,
  tpHighest,
  tpTimeCritical
};

// A set of TAfComOption, one bit per element in declaration order.
class TAfComOptions {
 public:
  constexpr TAfComOptions() = default;
  constexpr TAfComOptions(std::initializer_list<TAfComOption> options) {
    for (TAfComOption o : options) bits_ |= bit(o);
  }
  constexpr bool Contains(TAfComOption o) const { return (bits_ & bit(o)) != 0; }
  constexpr bool operator==(const TAfComOptions&) const = default;

 private:
  static constexpr uint8_t bit(TAfComOption o) { return uint8_t(1u << static_cast<unsigned>(o)); }
  uint8_t bits_ = 0;
};

// Kinds of core notification, passed as a byte.
enum class TAfCoreEvent : uint8_t {
  ceOutputEmpty = 0,
  ceCommEvent = 1,
  ceDataWaiting = 2,
  ceThreadError = 3
};

// Line event bits of the event mask.
inline constexpr uint32_t EV_RXCHAR = 0x0001;
inline constexpr uint32_t EV_CTS = 0x0008;
inline constexpr uint32_t EV_DSR = 0x0010;
inline constexpr uint32_t EV_RLSD = 0x0020;
inline constexpr uint32_t EV_ERR = 0x0080;
inline constexpr uint32_t EV_RING = 0x0100;
inline constexpr uint32_t kCoreEventMask = 0x01B9;

// Line error bits of the gathered error word.
inline constexpr uint32_t CE_RXOVER = 0x0001;
inline constexpr uint32_t CE_OVERRUN = 0x0002;
inline constexpr uint32_t CE_RXPARITY = 0x0004;
inline constexpr uint32_t CE_FRAME = 0x0008;
inline constexpr uint32_t CE_BREAK = 0x0010;

// Purge actions.
inline constexpr uint32_t PURGE_TXABORT = 0x01;
inline constexpr uint32_t PURGE_RXABORT = 0x02;
inline constexpr uint32_t PURGE_TXCLEAR = 0x04;
inline constexpr uint32_t PURGE_RXCLEAR = 0x08;

// Line control functions.
enum class EscapeFunction { SETRTS, CLRRTS, SETDTR, CLRDTR };

uint32_t BaudRateValue(TAfBaudrate rate);  // 0 for brUser
int PlatformPriority(TThreadPriority priority);

}  // namespace transport
