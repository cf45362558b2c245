#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <string>

#include "sim/instrument.h"
#include "sim/setpoint_logic.h"

namespace sim {
namespace {

using std::chrono::milliseconds;

uint8_t at(const std::string& s, std::size_t i) { return static_cast<uint8_t>(s[i]); }
int16_t s16(const std::string& s, std::size_t i) {
  return static_cast<int16_t>(at(s, i) | (at(s, i + 1) << 8));
}
float f32(const std::string& s, std::size_t i) {
  uint32_t u = 0;
  for (int k = 3; k >= 0; --k) u = (u << 8) | at(s, i + static_cast<std::size_t>(k));
  return std::bit_cast<float>(u);
}
std::string floatBytes(float f) {
  const auto u = std::bit_cast<uint32_t>(f);
  return {static_cast<char>(u), static_cast<char>(u >> 8), static_cast<char>(u >> 16),
          static_cast<char>(u >> 24)};
}

std::string readHolding(Instrument& in, int start, int count) {
  std::string data;
  EXPECT_EQ(in.readHoldingRegisters(start, count, data), 0) << "HR" << start;
  return data;
}

TEST(InstrumentBlocks, IdentificationCarriesTypeVersionSerialAndDate) {
  Instrument in;
  in.setManufactureDate(5, 3, 9);
  in.setSerialNumber(-2);
  in.setVersion(105);
  const std::string d = readHolding(in, 120, 6);
  ASSERT_EQ(d.size(), 12u);
  EXPECT_EQ(at(d, 0), 5);
  EXPECT_EQ(at(d, 1), 3);
  EXPECT_EQ(at(d, 2), 9);
  EXPECT_EQ(std::string(d, 4, 4), std::string("\xFE\xFF\xFF\xFF", 4));  // -2, LSB first
  EXPECT_EQ(s16(d, 8), 105);
  EXPECT_EQ(at(d, 10), 7) << "the type code of a ULM5";
}

TEST(InstrumentBlocks, CoefficientImagesMatchTheLittleEndianLayout) {
  Instrument in;
  const std::string iout = readHolding(in, 126, 10);
  EXPECT_EQ(at(iout, 0), 0x18);
  EXPECT_EQ(at(iout, 1), 0xFC);
  EXPECT_EQ(s16(iout, 0), -1000);
  const std::string xc = readHolding(in, 136, 10);
  EXPECT_EQ(std::string(xc, 0, 4), std::string("\x00\x00\x80\x3F", 4)) << "single 1.0";

  // A written single comes back bit for bit at its register, nowhere else.
  const std::string before = in.holdingBytes(126, 60);
  ASSERT_EQ(in.writeHoldingRegisters(156, 2, floatBytes(1.25f)), 0);
  EXPECT_EQ(f32(readHolding(in, 156, 10), 0), 1.25f);
  const std::string after = in.holdingBytes(126, 60);
  EXPECT_EQ(before.substr(0, 60), after.substr(0, 60));
  EXPECT_EQ(before.substr(64), after.substr(64));
}

TEST(InstrumentBlocks, GeneralSettingsReadAsOneBlockWithSetpointDataInside) {
  Instrument in;
  in.setNetworkAddress(17);
  in.setInterfaceBaudIndex(2);
  const std::string d = readHolding(in, 0, 13);
  ASSERT_EQ(d.size(), 26u);
  EXPECT_EQ(at(d, 0), 17);
  EXPECT_EQ(at(d, 1), 2);
  EXPECT_LE(at(d, 3), 25) << "input type index";
  EXPECT_LE(at(d, 6), 10) << "filter period";
  EXPECT_LE(at(d, 7), 100) << "archive period";
  // Registers 2..11 of this block are the scale block read from register 2.
  EXPECT_EQ(d.substr(4, 20), readHolding(in, 2, 10));
}

TEST(InstrumentBlocks, MapRefusesRegistersOutsideItAndWriteOnlyBlocks) {
  Instrument in;
  std::string data;
  EXPECT_EQ(in.readHoldingRegisters(180, 7, data), 0x02) << "runs past HR185";
  EXPECT_EQ(in.readHoldingRegisters(4000, 4, data), 0x02) << "clock block is write only";
  EXPECT_EQ(in.readHoldingRegisters(9000, 2, data), 0x02) << "command is write only";
  EXPECT_EQ(in.readHoldingRegisters(9003, 16, data), 0x02) << "inside a window, not its start";
  EXPECT_EQ(in.readHoldingRegisters(9018, 17, data), 0x02) << "longer than a record";
  EXPECT_EQ(in.readInputRegisters(12, 2, data), 0x02);
  EXPECT_EQ(in.writeHoldingRegisters(120, 1, std::string(2, '\0')), 0x02) << "identification";
  EXPECT_EQ(in.writeHoldingRegisters(4000, 2, std::string(4, '\0')), 0x02) << "partial clock";
  EXPECT_EQ(in.writeHoldingRegisters(30, 4, std::string(8, '\0')), 0x02) << "into reserved";
  EXPECT_EQ(in.readCoils(2, 3, data), 0x02);
}

TEST(InstrumentBlocks, ClockWriteSetsTheRunningClockAndKeepsTheCorrection) {
  Instrument in;
  const std::string clock = {58, 59, 23, 7, 31, 12, 99, static_cast<char>(-9)};
  ASSERT_EQ(in.writeHoldingRegisters(4000, 4, clock), 0);
  EXPECT_EQ(in.clockCorrection(), -9);
  std::string ir;
  ASSERT_EQ(in.readInputRegisters(0, 13, ir), 0);
  EXPECT_EQ(ir.substr(0, 7), std::string({58, 59, 23, 7, 31, 12, 99}));
  in.advance(milliseconds(2500));
  ASSERT_EQ(in.readInputRegisters(0, 13, ir), 0);
  EXPECT_EQ(ir.substr(0, 7), std::string({0, 0, 0, 1, 1, 1, 0})) << "new year, Sunday -> Monday";
  EXPECT_EQ(in.clockCorrection(), -9);
}

TEST(InstrumentBlocks, CurrentDataCarriesFaultWordStatesAndValues) {
  Instrument in;
  in.freezeMeasurement({21.96f, 1234.5678f, 12.5f});
  in.setFaultWord(0x8405);
  std::string ir;
  ASSERT_EQ(in.readInputRegisters(0, 13, ir), 0);
  ASSERT_EQ(ir.size(), 26u);
  EXPECT_EQ(at(ir, 8), 0x05);
  EXPECT_EQ(at(ir, 9), 0x84);
  EXPECT_EQ(at(ir, 12), in.setpointStates());
  EXPECT_EQ(at(ir, 13), in.relayStates());
  EXPECT_EQ(f32(ir, 14), 21.96f);
  EXPECT_EQ(f32(ir, 18), 1234.5678f);
  EXPECT_EQ(f32(ir, 22), 12.5f);
}

TEST(InstrumentBlocks, LiveMeasurementChangesSmoothly) {
  Instrument in;
  MeasuredValues last = in.measured();
  bool moved = false;
  for (int i = 0; i < 100; ++i) {
    in.advance(milliseconds(100));
    const MeasuredValues v = in.measured();
    // Range 0.0..100.0 by default: a 60 s sweep moves < 1 unit per 100 ms.
    EXPECT_LT(std::abs(v.physical - last.physical), 1.0f);
    EXPECT_LT(std::abs(v.coldJunction - last.coldJunction), 0.1f);
    EXPECT_GE(v.physical, 0.0f);
    EXPECT_LE(v.physical, 100.0f);
    moved = moved || v.physical != last.physical;
    last = v;
  }
  EXPECT_TRUE(moved);
  // A (4..20)mA input follows the quantity over the range.
  EXPECT_NEAR(last.parameter, 4 + 16 * last.physical / 100, 1e-3);
}

// Setpoint n (1..4) with a value and zone in raw counts and its flags byte.
void writeSetpoint(Instrument& in, int n, float value, float zone, uint8_t flags) {
  std::string record = floatBytes(value) + floatBytes(zone);
  record.push_back(static_cast<char>(flags));
  record.push_back('\0');
  ASSERT_EQ(in.writeHoldingRegisters(13 + 5 * (n - 1), 5, record), 0);
}

TEST(InstrumentBlocks, SetpointFlagsByteIsStoredAsWrittenAndDrivesStates) {
  using namespace setpoint_flag;
  Instrument in;
  // Decimal point code 1: raw 800 is 80.0.
  ASSERT_EQ(in.writeHoldingRegisters(2, 1, std::string("\0\1", 2)), 0);
  writeSetpoint(in, 1, 800, 50, kGreater | kEnabled);
  writeSetpoint(in, 2, 800, 50, kEnabled);  // less than
  writeSetpoint(in, 3, 800, 50, kGreater);  // disabled
  writeSetpoint(in, 4, 800, 50, 0x1F);      // greater, rate, both relay states, enabled
  EXPECT_EQ(at(readHolding(in, 13, 10), 8), kGreater | kEnabled);
  EXPECT_EQ(at(readHolding(in, 23, 10), 18), 0x1F);

  in.freezeMeasurement({23, 90, 0});  // from a known state: only the "greater" one active
  EXPECT_EQ(in.setpointStates() & 0x7, 0x1);
  in.freezeMeasurement({23, 81, 0});
  EXPECT_EQ(in.setpointStates() & 0x7, 0x1);
  in.freezeMeasurement({23, 76, 0});  // the "greater" one holds inside its return zone
  EXPECT_EQ(in.setpointStates() & 0x7, 0x3);
  in.freezeMeasurement({23, 74.9f, 0});
  EXPECT_EQ(in.setpointStates() & 0x7, 0x2);
  in.freezeMeasurement({23, 84, 0});  // still below 80 + 5 for the "less" one
  EXPECT_EQ(in.setpointStates() & 0x7, 0x3);
  in.freezeMeasurement({23, 85.1f, 0});
  EXPECT_EQ(in.setpointStates() & 0x7, 0x1);
}

TEST(InstrumentBlocks, RelaysFollowSetpointsWithInitialAndOnBreakStates) {
  using namespace setpoint_flag;
  Instrument in;
  ASSERT_EQ(in.writeHoldingRegisters(2, 1, std::string("\0\0", 2)), 0);  // d = 0
  writeSetpoint(in, 1, 50, 0, kGreater | kEnabled);
  writeSetpoint(in, 2, 50, 0, kGreater | kEnabled | kRelayStartClosed);
  writeSetpoint(in, 3, 50, 0, kGreater | kEnabled | kRelayBreakClosed);
  writeSetpoint(in, 4, 50, 0, kGreater);  // disabled: its relay is free for coil writes
  in.freezeMeasurement({23, 10, 0});
  EXPECT_EQ(in.relayStates() & 0x7, 0x2) << "only the normally closed relay";
  in.freezeMeasurement({23, 60, 0});
  EXPECT_EQ(in.relayStates() & 0x7, 0x5);
  in.setFaultWord(0x0400);  // sensor fault: on-break states
  EXPECT_EQ(in.relayStates() & 0x7, 0x4);
  in.setFaultWord(0);
  EXPECT_EQ(in.relayStates() & 0x7, 0x5);

  ASSERT_EQ(in.writeCoils(0, 4, std::string(1, '\x08')), 0);
  EXPECT_EQ(in.relayStates(), 0xD) << "relay 4 switched, relays 1..3 keep following";
  std::string coils;
  ASSERT_EQ(in.readCoils(0, 4, coils), 0);
  EXPECT_EQ(coils, std::string(1, '\x0D'));
  ASSERT_EQ(in.readDiscreteInputs(0, 4, coils), 0);
  EXPECT_EQ(coils, std::string(1, '\x07'));
}

TEST(InstrumentBlocks, HeldOutputsShowUntilReleasedWhileSetpointsKeepWorking) {
  Instrument in;
  in.freezeMeasurement({23, 90, 0});
  in.freezeMeasurement({23, 79, 0});  // setpoint 1 (80.0, zone 2.0) stays on by its hysteresis
  const uint8_t setpoints = in.setpointStates();
  const uint8_t relays = in.relayStates();
  ASSERT_EQ(setpoints & 0x1, 0x1);
  const auto heldSetpoints = static_cast<uint8_t>(~setpoints & 0x0F);
  const auto heldRelays = static_cast<uint8_t>(~relays & 0x0F);
  in.holdOutputs(heldSetpoints, heldRelays);
  for (const char* when : {"at once", "after an update"}) {
    std::string ir, coils, inputs;
    ASSERT_EQ(in.readInputRegisters(0, 7, ir), 0);
    ASSERT_EQ(in.readCoils(0, 4, coils), 0);
    ASSERT_EQ(in.readDiscreteInputs(0, 4, inputs), 0);
    EXPECT_EQ(at(ir, 12), heldSetpoints) << when;
    EXPECT_EQ(at(ir, 13), heldRelays) << when;
    EXPECT_EQ(coils, std::string(1, static_cast<char>(heldRelays))) << when;
    EXPECT_EQ(inputs, std::string(1, static_cast<char>(heldSetpoints))) << when;
    in.advance(milliseconds(1000));
  }
  in.releaseOutputs();
  EXPECT_EQ(in.setpointStates(), setpoints);
  EXPECT_EQ(in.relayStates(), relays);
}

TEST(InstrumentBlocks, CalibrationCommandsAndOutputCurrentLeaveRegister12Alone) {
  Instrument in;
  const std::string flagsBefore = in.holdingBytes(12, 1);
  ASSERT_EQ(in.writeHoldingRegisters(9000, 2, std::string("\x00\x00\xAC\x0F", 4)), 0);
  EXPECT_EQ(in.lastCalibrationPoint(), 0);
  EXPECT_EQ(in.lastCalibrationValue(), 4012);
  ASSERT_EQ(in.writeHoldingRegisters(9000, 2, std::string("\x19\x00\x00\x00", 4)), 0);
  EXPECT_EQ(in.lastCalibrationPoint(), 25);
  ASSERT_EQ(in.writeHoldingRegisters(9000, 2, std::string("\x1A\x00\xE4\x16", 4)), 0);
  EXPECT_EQ(in.outputCurrentCode(), 5860);
  EXPECT_EQ(in.lastCalibrationPoint(), 25) << "1Ah is no calibration point";
  EXPECT_EQ(in.writeHoldingRegisters(9000, 2, std::string("\x1B\x00\x00\x00", 4)), 0x03);
  EXPECT_EQ(in.holdingBytes(12, 1), flagsBefore);
}

TEST(InstrumentBlocks, WrittenInterfaceSpeedWaitsForTheReply) {
  Instrument in;
  in.setInterfaceBaudIndex(6);
  ASSERT_EQ(in.writeHoldingRegisters(0, 2, std::string("\x01\x02\x00\x13", 4)), 0);
  EXPECT_EQ(in.interfaceBaudIndex(), 6);
  EXPECT_EQ(at(in.holdingBytes(0, 1), 1), 2);
  EXPECT_TRUE(in.commitPendingSpeed());
  EXPECT_EQ(in.interfaceBaudIndex(), 2);
  EXPECT_FALSE(in.commitPendingSpeed());
  // A speed outside the list would leave the instrument unreachable.
  EXPECT_EQ(in.writeHoldingRegisters(0, 1, std::string("\x01\x07", 2)), 0x03);
  EXPECT_EQ(at(in.holdingBytes(0, 1), 1), 2);
}

ArchiveRecord recordAt(uint8_t seconds, float value) {
  ArchiveRecord r;
  r.time = {seconds, 5, 9, 4, 1, 2, 24};
  r.coldJunction = 22.5f;
  r.measuredValue = value;
  r.inputSignal = value / 10;
  return r;
}

TEST(InstrumentBlocks, ArchiveWindowsWalkNewestToOldest) {
  Instrument in;
  EXPECT_GE(in.archiveSize(), 300) << "several hundred records from the start";
  in.clearArchive();
  for (uint8_t i = 0; i < 5; ++i) in.appendArchiveRecord(recordAt(i, 100.0f + i));

  const std::string newest = readHolding(in, 9018, 16);
  ASSERT_EQ(newest.size(), 32u);
  EXPECT_EQ(newest.substr(0, 7), std::string({4, 5, 9, 4, 1, 2, 24}));
  EXPECT_EQ(f32(newest, 14), 22.5f);
  EXPECT_EQ(f32(newest, 18), 104.0f);
  EXPECT_EQ(f32(newest, 22), 10.4f);
  for (int expected = 3; expected >= 0; --expected) {
    EXPECT_EQ(at(readHolding(in, 9050, 16), 0), expected);
  }
  EXPECT_EQ(at(readHolding(in, 9050, 16), 0), 0) << "stays at the oldest";
  EXPECT_EQ(at(readHolding(in, 9034, 16), 0), 1) << "next after the last read";
  EXPECT_EQ(at(readHolding(in, 9002, 16), 0), 0);
  // A record appended meanwhile does not shift the walk.
  EXPECT_EQ(at(readHolding(in, 9034, 16), 0), 1);
  in.appendArchiveRecord(recordAt(9, 0));
  EXPECT_EQ(at(readHolding(in, 9034, 16), 0), 2);
  EXPECT_EQ(at(readHolding(in, 9018, 16), 0), 9);
}

TEST(InstrumentBlocks, ArchiveGrowsAtTheArchivePeriodUpToItsCapacity) {
  Instrument in;
  in.clearArchive();
  ASSERT_EQ(in.writeHoldingRegisters(3, 1, std::string("\x02\x05", 2)), 0);  // 5 s period
  in.advance(milliseconds(4900));
  EXPECT_EQ(in.archiveSize(), 0);
  in.advance(milliseconds(200));
  EXPECT_EQ(in.archiveSize(), 1);
  const ClockTime now = in.clock();
  EXPECT_EQ(at(readHolding(in, 9018, 16), 0), now.seconds);
  ASSERT_EQ(in.writeHoldingRegisters(3, 1, std::string("\x02\x00", 2)), 0);  // archiving off
  in.advance(milliseconds(60000));
  EXPECT_EQ(in.archiveSize(), 1);
  for (int i = 0; i < Instrument::kArchiveCapacity + 10; ++i)
    in.appendArchiveRecord(recordAt(1, 0));
  EXPECT_EQ(in.archiveSize(), Instrument::kArchiveCapacity);
}

TEST(InstrumentBlocks, EmptyArchiveAnswersWithAnEmptyRecord) {
  Instrument in;
  in.clearArchive();
  EXPECT_EQ(readHolding(in, 9018, 16), std::string(32, '\0'));
  EXPECT_EQ(readHolding(in, 9050, 4), std::string(8, '\0'));
}

}  // namespace
}  // namespace sim
