#include "sim/instrument_state.h"

#include "sim/setpoint_logic.h"

namespace sim {

namespace {

constexpr int kPrefilledRecords = 500;
constexpr int kDefaultArchivePeriodS = 10;

void setSetpoint(ByteImage& hr, int n, float value, float zone, uint8_t flags) {
  const int at = reg::kSetpointRecordByte + n * reg::kSetpointRecordSize;
  hr.setF32(at, value);
  hr.setF32(at + 4, zone);
  hr.setU8(at + 8, flags);
  hr.setU8(at + 9, 0);
}

}  // namespace

Instrument::State::State() : clock(HostLocalClock()) {
  using namespace setpoint_flag;
  ByteImage& hr = holding;
  hr.setU8(reg::kNetworkAddressByte, 1);
  hr.setU8(reg::kInterfaceSpeedByte, 6);
  hr.setU8(reg::kProtocolByte, 0);
  hr.setU8(reg::kInputTypeByte, 19);  // (4..20)mA
  hr.setU8(reg::kDecimalPointByte, 1);
  hr.setU8(reg::kFilterPeriodByte, 2);
  hr.setU8(reg::kArchivePeriodByte, kDefaultArchivePeriodS);
  hr.setF32(reg::kRangeStartByte, 0);
  hr.setF32(reg::kRangeEndByte, 1000);
  hr.setF32(reg::kBarStartByte, 0);
  hr.setF32(reg::kBarEndByte, 1000);
  hr.setU8(reg::kSwitchesByte, 0x0A);  // cold-junction compensation, output current
  setSetpoint(hr, 0, 800, 20, kGreater | kEnabled);
  setSetpoint(hr, 1, 200, 20, kEnabled);
  setSetpoint(hr, 2, 600, 50, kGreater | kEnabled | kRelayStartClosed);
  setSetpoint(hr, 3, 500, 0, kRelayStartClosed);

  const int id = reg::kIdentificationByte;
  hr.setU8(id + 0, 5);
  hr.setU8(id + 1, 3);
  hr.setU8(id + 2, 24);
  hr.setU32(id + 4, 240315);
  hr.setU16(id + 8, 12);
  hr.setU8(id + 10, 7);

  const int k = reg::kCoefficientsByte;
  const int16_t outputCurrent[] = {-1000, 1464, 2930, 4394, 5860};
  const int16_t inputCurrent[] = {812, 1625, 2437, 3250, 4062};
  for (int i = 0; i < 5; ++i) {
    hr.setU16(k + 2 * i, static_cast<uint16_t>(outputCurrent[i]));
    hr.setU16(k + 40 + 2 * i, static_cast<uint16_t>(inputCurrent[i]));
    hr.setF32(k + 60 + 4 * i, 1.0f + 0.001f * static_cast<float>(i));  // 100 mV
    hr.setF32(k + 80 + 4 * i, 1.0f - 0.001f * static_cast<float>(i));  // 1 V
    hr.setF32(k + 100 + 4 * i, 0.1f * static_cast<float>(i + 1));      // resistance
  }
  hr.setF32(k + 20, 1.0f);  // cold junction

  for (int n = 0; n < 4; ++n) {
    const uint8_t flags = hr.u8(reg::kSetpointRecordByte + n * reg::kSetpointRecordSize + 8);
    if (flags & kRelayStartClosed) heldRelays |= static_cast<uint8_t>(1u << n);
  }
  values = LiveMeasurement(0, measurementSetup());
  updateOutputs();
  prefillArchive(kPrefilledRecords, kDefaultArchivePeriodS);
}

float Instrument::State::decimalScale() const {
  switch (holding.u8(reg::kDecimalPointByte)) {
    case 1:
      return 10;
    case 2:
      return 100;
    case 3:
      return 1000;
    default:
      return 1;
  }
}

MeasurementSetup Instrument::State::measurementSetup() const {
  MeasurementSetup s;
  const float scale = decimalScale();
  const float start = holding.f32(reg::kRangeStartByte) / scale;
  const float end = holding.f32(reg::kRangeEndByte) / scale;
  // A range that is empty or not a number leaves the default sweep of 0..100.
  if (start == start && end == end && start != end) {
    s.rangeStart = start;
    s.rangeEnd = end;
  }
  s.inputType = holding.u8(reg::kInputTypeByte);
  return s;
}

void Instrument::State::updateOutputs() {
  const float scale = decimalScale();
  const bool sensorBreak = (faultWord & 0x0400) != 0;
  uint8_t states = 0;
  uint8_t relays = 0;
  for (int n = 0; n < 4; ++n) {
    const int at = reg::kSetpointRecordByte + n * reg::kSetpointRecordSize;
    SetpointConfig c;
    c.threshold = holding.f32(at) / scale;
    c.returnZone = holding.f32(at + 4) / scale;
    c.flags = holding.u8(at + 8);
    const uint8_t bit = static_cast<uint8_t>(1u << n);
    const float input = (c.flags & setpoint_flag::kRate) ? rate : values.physical;
    const bool active = NextSetpointState((derivedSetpoints & bit) != 0, c, input);
    if (active) states |= bit;
    if (RelayClosed(active, c.flags, sensorBreak, (heldRelays & bit) != 0)) relays |= bit;
  }
  derivedSetpoints = states;
  setpointStates = heldOutputs ? heldOutputs->first : states;
  relayStates = heldOutputs ? heldOutputs->second : relays;
}

void Instrument::State::appendCurrentRecord() {
  ArchiveRecord r;
  r.time = clock.now();
  r.coldJunction = values.coldJunction;
  r.measuredValue = values.physical;
  r.inputSignal = values.parameter;
  archive.append(r);
}

void Instrument::State::prefillArchive(int records, int periodS) {
  const MeasurementSetup setup = measurementSetup();
  const int64_t now = SecondsSince2000(clock.now());
  for (int i = records; i >= 1; --i) {
    const int64_t back = int64_t{i} * periodS;
    const MeasuredValues v = LiveMeasurement(-static_cast<double>(back), setup);
    ArchiveRecord r;
    r.time = ClockAtSeconds(now - back, DayOfWeekAt(now - back));
    r.coldJunction = v.coldJunction;
    r.measuredValue = v.physical;
    r.inputSignal = v.parameter;
    archive.append(r);
  }
}

std::string Instrument::State::inputImage() const {
  ByteImage ir(reg::kInputCount * 2);
  const ClockTime t = clock.now();
  ir.setU8(0, t.seconds);
  ir.setU8(1, t.minutes);
  ir.setU8(2, t.hours);
  ir.setU8(3, t.dayOfWeek);
  ir.setU8(4, t.day);
  ir.setU8(5, t.month);
  ir.setU8(6, t.year);
  ir.setU16(reg::kFaultWordInput, faultWord);
  ir.setU8(reg::kSetpointStatesInput, setpointStates);
  ir.setU8(reg::kRelayStatesInput, relayStates);
  ir.setF32(reg::kColdJunctionInput, values.coldJunction);
  ir.setF32(reg::kPhysicalInput, values.physical);
  ir.setF32(reg::kParameterInput, values.parameter);
  return ir.bytes(0, ir.size());
}

}  // namespace sim
