#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "sim/archive_record.h"
#include "sim/clock_time.h"

namespace sim {

// Live measurement values as they appear in the current data block (IR 0..12).
struct MeasuredValues {
  float coldJunction = 0;  // IR byte 14, degrees C
  float physical = 0;      // IR byte 18, the measured physical quantity
  float parameter = 0;     // IR byte 22, the measured parameter (input signal)
};

// Register memory and behaviour of the instrument, usable without a line.
// Every member is thread-safe (one mutex). Register images are the
// instrument's little-endian memory: register r is bytes 2r and 2r+1.
class Instrument {
 public:
  Instrument();
  ~Instrument();
  Instrument(const Instrument&) = delete;
  Instrument& operator=(const Instrument&) = delete;

  // Raw images. Holding registers 0..185; input registers 0..12 (recomputed
  // from the state by every update, so set the state rather than the bytes).
  std::string holdingBytes(int reg, int count) const;
  void setHoldingBytes(int reg, const std::string& bytes);
  std::string inputBytes(int reg, int count) const;

  // Identification (HR 120..125).
  uint8_t typeCode() const;
  void setTypeCode(uint8_t code);
  int16_t version() const;  // tenths: 12 means 1.2
  void setVersion(int16_t tenths);
  int32_t serialNumber() const;
  void setSerialNumber(int32_t serial);
  void setManufactureDate(uint8_t day, uint8_t month, uint8_t year);

  // General settings (HR 0). The interface speed index is the one in force on
  // the line; a written speed comes into force only by commitPendingSpeed(),
  // which the line calls once the reply to the write has gone out.
  uint8_t networkAddress() const;
  void setNetworkAddress(uint8_t address);
  int interfaceBaudIndex() const;
  void setInterfaceBaudIndex(int index);  // register and line speed at once
  bool commitPendingSpeed();              // true if the speed in force changed

  // Fault word (IR bytes 8..9). Bit 10 (sensor) puts the relays into their
  // on-break states.
  uint16_t faultWord() const;
  void setFaultWord(uint16_t word);

  // Clock (IR 0..6; set by a write of HR 4000..4003).
  ClockTime clock() const;
  void setClock(const ClockTime& time);
  int8_t clockCorrection() const;

  // Measurement: live by default; a frozen value stays until resumed.
  MeasuredValues measured() const;
  void freezeMeasurement(const MeasuredValues& values);
  void resumeLiveMeasurement();
  uint8_t setpointStates() const;  // IR byte 12, bit 0 = setpoint 1
  uint8_t relayStates() const;     // IR byte 13, bit 0 = relay 1, set = closed
  // Shows fixed setpoint and relay states (bits 0..3) instead of the derived
  // ones; the setpoints keep working underneath, so a release shows them as
  // if nothing had been held.
  void holdOutputs(uint8_t setpointStates, uint8_t relayStates);
  void releaseOutputs();

  // Archive (windows HR 9002, 9018, 9034, 9050).
  void appendArchiveRecord(const ArchiveRecord& record);
  void clearArchive();
  int archiveSize() const;
  static constexpr int kArchiveCapacity = 1000;

  // Calibration command (HR 9000..9001).
  std::optional<uint8_t> lastCalibrationPoint() const;  // 0..25
  int16_t lastCalibrationValue() const;
  int16_t outputCurrentCode() const;  // set by command 1Ah

  // Moves time on: clock, measurement, setpoints, relays, archive period.
  void advance(std::chrono::milliseconds elapsed);

  // Modbus access. Each returns 0 or a Modbus exception code (02h address
  // outside the map, 03h bad value); `data` is the reply's data field.
  uint8_t readHoldingRegisters(int start, int count, std::string& data);
  uint8_t readInputRegisters(int start, int count, std::string& data) const;
  uint8_t writeHoldingRegisters(int start, int count, const std::string& data);
  uint8_t readCoils(int start, int count, std::string& data) const;
  uint8_t readDiscreteInputs(int start, int count, std::string& data) const;
  uint8_t writeCoils(int start, int count, const std::string& data);

 private:
  class State;
  std::unique_ptr<State> state_;
};

}  // namespace sim
