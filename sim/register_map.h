#pragma once

namespace sim {

// Register numbers of the instrument and the byte offsets of its fields.
namespace reg {

// Holding registers kept in memory: 0..185. 33..119 are reserved and read as zero.
constexpr int kHoldingCount = 186;
constexpr int kGeneralSettings = 0;  // HR0..HR12
constexpr int kScaleFirst = 2;       // decimal point, ranges: HR2, HR4..HR11
constexpr int kSetpointsFirst = 13;  // four records of five registers, HR13..HR32
constexpr int kSetpointsEnd = 33;
constexpr int kFunctionSwitches = 12;
constexpr int kReservedFirst = 33;
constexpr int kIdentification = 120;  // HR120..HR125, read only
constexpr int kIdentificationEnd = 126;
constexpr int kCoefficients = 126;  // HR126..HR185

constexpr int kClockWrite = 4000;  // HR4000..HR4003, written whole
constexpr int kClockWriteCount = 4;
constexpr int kCalibrationCommand = 9000;  // HR9000..HR9001, written whole
constexpr int kCalibrationCommandCount = 2;

constexpr int kArchiveOldest = 9002;
constexpr int kArchiveNewest = 9018;
constexpr int kArchiveNext = 9034;
constexpr int kArchivePrevious = 9050;
constexpr int kArchiveRecordRegisters = 16;

constexpr int kInputCount = 13;  // IR0..IR12, the current data block
constexpr int kRelayCount = 4;   // coils 0..3 and discrete inputs 0..3

// Byte offsets in the holding image (2 per register).
constexpr int kNetworkAddressByte = 0;
constexpr int kInterfaceSpeedByte = 1;
constexpr int kProtocolByte = 2;
constexpr int kInputTypeByte = 3;
constexpr int kKeptScaleByte = 4;
constexpr int kDecimalPointByte = 5;
constexpr int kFilterPeriodByte = 6;
constexpr int kArchivePeriodByte = 7;
constexpr int kRangeStartByte = 8;  // floats: Y0, YK, Z0, ZK
constexpr int kRangeEndByte = 12;
constexpr int kBarStartByte = 16;
constexpr int kBarEndByte = 20;
constexpr int kSwitchesByte = 24;
constexpr int kSetpointRecordByte = 26;  // record n at 26 + 10n: value, zone, flags
constexpr int kSetpointRecordSize = 10;
constexpr int kIdentificationByte = 240;
constexpr int kCoefficientsByte = 252;

// Byte offsets in the current data block.
constexpr int kFaultWordInput = 8;
constexpr int kSetpointStatesInput = 12;
constexpr int kRelayStatesInput = 13;
constexpr int kColdJunctionInput = 14;
constexpr int kPhysicalInput = 18;
constexpr int kParameterInput = 22;

}  // namespace reg
}  // namespace sim
