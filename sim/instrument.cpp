#include "sim/instrument.h"

#include "sim/instrument_state.h"

namespace sim {

namespace {

constexpr int kMaxBaudIndex = 6;

bool isArchiveWindow(int start) {
  return start == reg::kArchiveOldest || start == reg::kArchiveNewest ||
         start == reg::kArchiveNext || start == reg::kArchivePrevious;
}

// Bits of `states` from `start`, packed LSB first as Modbus coils are.
std::string packBits(uint8_t states, int start, int count) {
  std::string data(static_cast<std::size_t>((count + 7) / 8), '\0');
  for (int i = 0; i < count; ++i) {
    if (states & (1u << (start + i)))
      data[static_cast<std::size_t>(i / 8)] |= static_cast<char>(1u << (i % 8));
  }
  return data;
}

bool inRange(int start, int count, int first, int end) {
  return start >= first && count >= 0 && start + count <= end;
}

}  // namespace

Instrument::Instrument() : state_(std::make_unique<State>()) {}
Instrument::~Instrument() = default;

std::string Instrument::holdingBytes(int reg, int count) const {
  const std::lock_guard lock(state_->mutex);
  if (!inRange(reg, count, 0, reg::kHoldingCount)) return {};
  return state_->holding.bytes(static_cast<std::size_t>(2 * reg),
                               static_cast<std::size_t>(2 * count));
}

void Instrument::setHoldingBytes(int reg, const std::string& bytes) {
  const std::lock_guard lock(state_->mutex);
  const int end = 2 * reg + static_cast<int>(bytes.size());
  if (reg < 0 || end > 2 * reg::kHoldingCount) return;
  state_->holding.setBytes(static_cast<std::size_t>(2 * reg), bytes);
  state_->updateOutputs();
}

std::string Instrument::inputBytes(int reg, int count) const {
  const std::lock_guard lock(state_->mutex);
  if (!inRange(reg, count, 0, reg::kInputCount)) return {};
  return state_->inputImage().substr(static_cast<std::size_t>(2 * reg),
                                     static_cast<std::size_t>(2 * count));
}

uint8_t Instrument::typeCode() const {
  const std::lock_guard lock(state_->mutex);
  return state_->holding.u8(reg::kIdentificationByte + 10);
}
void Instrument::setTypeCode(uint8_t code) {
  const std::lock_guard lock(state_->mutex);
  state_->holding.setU8(reg::kIdentificationByte + 10, code);
}
int16_t Instrument::version() const {
  const std::lock_guard lock(state_->mutex);
  return static_cast<int16_t>(state_->holding.u16(reg::kIdentificationByte + 8));
}
void Instrument::setVersion(int16_t tenths) {
  const std::lock_guard lock(state_->mutex);
  state_->holding.setU16(reg::kIdentificationByte + 8, static_cast<uint16_t>(tenths));
}
int32_t Instrument::serialNumber() const {
  const std::lock_guard lock(state_->mutex);
  return static_cast<int32_t>(state_->holding.u32(reg::kIdentificationByte + 4));
}
void Instrument::setSerialNumber(int32_t serial) {
  const std::lock_guard lock(state_->mutex);
  state_->holding.setU32(reg::kIdentificationByte + 4, static_cast<uint32_t>(serial));
}
void Instrument::setManufactureDate(uint8_t day, uint8_t month, uint8_t year) {
  const std::lock_guard lock(state_->mutex);
  state_->holding.setU8(reg::kIdentificationByte + 0, day);
  state_->holding.setU8(reg::kIdentificationByte + 1, month);
  state_->holding.setU8(reg::kIdentificationByte + 2, year);
}

uint8_t Instrument::networkAddress() const {
  const std::lock_guard lock(state_->mutex);
  return state_->holding.u8(reg::kNetworkAddressByte);
}
void Instrument::setNetworkAddress(uint8_t address) {
  const std::lock_guard lock(state_->mutex);
  state_->holding.setU8(reg::kNetworkAddressByte, address);
}
int Instrument::interfaceBaudIndex() const {
  const std::lock_guard lock(state_->mutex);
  return state_->activeBaudIndex;
}
void Instrument::setInterfaceBaudIndex(int index) {
  if (index < 0 || index > kMaxBaudIndex) return;
  const std::lock_guard lock(state_->mutex);
  state_->holding.setU8(reg::kInterfaceSpeedByte, static_cast<uint8_t>(index));
  state_->activeBaudIndex = index;
}
bool Instrument::commitPendingSpeed() {
  const std::lock_guard lock(state_->mutex);
  const int written = state_->holding.u8(reg::kInterfaceSpeedByte);
  if (written > kMaxBaudIndex || written == state_->activeBaudIndex) return false;
  state_->activeBaudIndex = written;
  return true;
}

uint16_t Instrument::faultWord() const {
  const std::lock_guard lock(state_->mutex);
  return state_->faultWord;
}
void Instrument::setFaultWord(uint16_t word) {
  const std::lock_guard lock(state_->mutex);
  state_->faultWord = word;
  state_->updateOutputs();
}

ClockTime Instrument::clock() const {
  const std::lock_guard lock(state_->mutex);
  return state_->clock.now();
}
void Instrument::setClock(const ClockTime& time) {
  const std::lock_guard lock(state_->mutex);
  state_->clock.set(time);
}
int8_t Instrument::clockCorrection() const {
  const std::lock_guard lock(state_->mutex);
  return state_->correction;
}

MeasuredValues Instrument::measured() const {
  const std::lock_guard lock(state_->mutex);
  return state_->values;
}
void Instrument::freezeMeasurement(const MeasuredValues& values) {
  const std::lock_guard lock(state_->mutex);
  state_->frozen = true;
  state_->values = values;
  state_->rate = 0;
  state_->updateOutputs();
}
void Instrument::resumeLiveMeasurement() {
  const std::lock_guard lock(state_->mutex);
  state_->frozen = false;
}
uint8_t Instrument::setpointStates() const {
  const std::lock_guard lock(state_->mutex);
  return state_->setpointStates;
}
uint8_t Instrument::relayStates() const {
  const std::lock_guard lock(state_->mutex);
  return state_->relayStates;
}
void Instrument::holdOutputs(uint8_t setpointStates, uint8_t relayStates) {
  const std::lock_guard lock(state_->mutex);
  // Four setpoints, four relays.
  state_->heldOutputs.emplace(static_cast<uint8_t>(setpointStates & 0x0F),
                              static_cast<uint8_t>(relayStates & 0x0F));
  state_->updateOutputs();
}
void Instrument::releaseOutputs() {
  const std::lock_guard lock(state_->mutex);
  state_->heldOutputs.reset();
  state_->updateOutputs();
}

void Instrument::appendArchiveRecord(const ArchiveRecord& record) {
  const std::lock_guard lock(state_->mutex);
  state_->archive.append(record);
}
void Instrument::clearArchive() {
  const std::lock_guard lock(state_->mutex);
  state_->archive.clear();
}
int Instrument::archiveSize() const {
  const std::lock_guard lock(state_->mutex);
  return state_->archive.size();
}

std::optional<uint8_t> Instrument::lastCalibrationPoint() const {
  const std::lock_guard lock(state_->mutex);
  return state_->calibrationPoint;
}
int16_t Instrument::lastCalibrationValue() const {
  const std::lock_guard lock(state_->mutex);
  return state_->calibrationValue;
}
int16_t Instrument::outputCurrentCode() const {
  const std::lock_guard lock(state_->mutex);
  return state_->outputCurrentCode;
}

void Instrument::advance(std::chrono::milliseconds elapsed) {
  if (elapsed.count() <= 0) return;
  const std::lock_guard lock(state_->mutex);
  State& s = *state_;
  s.clock.advance(elapsed);
  const float before = s.values.physical;
  if (!s.frozen) {
    s.liveSeconds += static_cast<double>(elapsed.count()) / 1000.0;
    s.values = LiveMeasurement(s.liveSeconds, s.measurementSetup());
  }
  s.rate = static_cast<float>((s.values.physical - before) * 1000.0 /
                              static_cast<double>(elapsed.count()));
  s.updateOutputs();

  const int periodS = s.holding.u8(reg::kArchivePeriodByte);
  if (periodS == 0) {
    s.archiveElapsedMs = 0;
    return;
  }
  s.archiveElapsedMs += elapsed.count();
  if (s.archiveElapsedMs >= int64_t{periodS} * 1000) {
    // One record per period; after a long pause the missed ones are not made up.
    s.archiveElapsedMs %= int64_t{periodS} * 1000;
    s.appendCurrentRecord();
  }
}

uint8_t Instrument::readHoldingRegisters(int start, int count, std::string& data) {
  const std::lock_guard lock(state_->mutex);
  State& s = *state_;
  if (inRange(start, count, 0, reg::kHoldingCount)) {
    data =
        s.holding.bytes(static_cast<std::size_t>(2 * start), static_cast<std::size_t>(2 * count));
    return 0;
  }
  if (isArchiveWindow(start) && count <= reg::kArchiveRecordRegisters) {
    ArchiveRecord r;
    bool found = false;
    switch (start) {
      case reg::kArchiveOldest:
        found = s.archive.oldest(r);
        break;
      case reg::kArchiveNewest:
        found = s.archive.newest(r);
        break;
      case reg::kArchiveNext:
        found = s.archive.next(r);
        break;
      default:
        found = s.archive.previous(r);
        break;
    }
    // An empty archive answers with an empty (all zero) record.
    data = found ? EncodeArchiveRecord(r) : std::string(32, '\0');
    data.resize(static_cast<std::size_t>(2 * count));
    return 0;
  }
  return 0x02;
}

uint8_t Instrument::readInputRegisters(int start, int count, std::string& data) const {
  const std::lock_guard lock(state_->mutex);
  if (!inRange(start, count, 0, reg::kInputCount)) return 0x02;
  data = state_->inputImage().substr(static_cast<std::size_t>(2 * start),
                                     static_cast<std::size_t>(2 * count));
  return 0;
}

uint8_t Instrument::writeHoldingRegisters(int start, int count, const std::string& data) {
  const std::lock_guard lock(state_->mutex);
  State& s = *state_;
  const auto byte = [&data](std::size_t i) { return static_cast<uint8_t>(data[i]); };
  if (start == reg::kClockWrite && count == reg::kClockWriteCount) {
    ClockTime t;
    t.seconds = byte(0);
    t.minutes = byte(1);
    t.hours = byte(2);
    t.dayOfWeek = byte(3);
    t.day = byte(4);
    t.month = byte(5);
    t.year = byte(6);
    s.clock.set(t);
    s.correction = static_cast<int8_t>(byte(7));
    return 0;
  }
  if (start == reg::kCalibrationCommand && count == reg::kCalibrationCommandCount) {
    const uint8_t command = byte(0);
    const auto value = static_cast<int16_t>(byte(2) | (byte(3) << 8));
    constexpr uint8_t kSetOutputCurrent = 0x1A;
    if (command > kSetOutputCurrent) return 0x03;
    if (command == kSetOutputCurrent) {
      s.outputCurrentCode = value;
    } else {
      s.calibrationPoint = command;
      s.calibrationValue = value;
    }
    return 0;
  }
  const bool settings = inRange(start, count, 0, reg::kSetpointsEnd);
  const bool coefficients = inRange(start, count, reg::kCoefficients, reg::kHoldingCount);
  if (!settings && !coefficients) return 0x02;
  // An interface speed outside the list would leave the instrument unreachable.
  if (start == 0 && byte(reg::kInterfaceSpeedByte) > kMaxBaudIndex) return 0x03;
  s.holding.setBytes(static_cast<std::size_t>(2 * start), data);
  s.updateOutputs();
  return 0;
}

uint8_t Instrument::readCoils(int start, int count, std::string& data) const {
  const std::lock_guard lock(state_->mutex);
  if (!inRange(start, count, 0, reg::kRelayCount)) return 0x02;
  data = packBits(state_->relayStates, start, count);
  return 0;
}

uint8_t Instrument::readDiscreteInputs(int start, int count, std::string& data) const {
  const std::lock_guard lock(state_->mutex);
  if (!inRange(start, count, 0, reg::kRelayCount)) return 0x02;
  data = packBits(state_->setpointStates, start, count);
  return 0;
}

uint8_t Instrument::writeCoils(int start, int count, const std::string& data) {
  const std::lock_guard lock(state_->mutex);
  if (!inRange(start, count, 0, reg::kRelayCount)) return 0x02;
  for (int i = 0; i < count; ++i) {
    const uint8_t bit = static_cast<uint8_t>(1u << (start + i));
    const bool on = (static_cast<uint8_t>(data[static_cast<std::size_t>(i / 8)]) >> (i % 8)) & 1u;
    state_->heldRelays =
        static_cast<uint8_t>(on ? state_->heldRelays | bit : state_->heldRelays & ~bit);
  }
  state_->updateOutputs();
  return 0;
}

}  // namespace sim
