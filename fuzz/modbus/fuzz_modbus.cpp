// Untrusted reply bytes through the codec and every request's validation.
// Input: one byte of mode and count, then the reply the port delivers.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "modbus/frame_codec.h"
#include "modbus/requests.h"
#include "tests/modbus/immediate_port.h"

namespace {

using modbus::ByteString;

class StepTick : public modbus::TickSource {
 public:
  uint32_t Tick() override { return now_; }
  void Advance(std::chrono::microseconds d) { now_ += static_cast<uint32_t>(d.count() / 1000 + 1); }

 private:
  uint32_t now_ = 0xFFFFFF00u;
};

class StepPump : public modbus::EventPump {
 public:
  explicit StepPump(StepTick& tick) : tick_(tick) {}
  void ProcessEvents(std::chrono::microseconds maxWait) override { tick_.Advance(maxWait); }

 private:
  StepTick& tick_;
};

void require(bool condition) {
  if (!condition) std::abort();
}

void checkShape(const modbus::ExchangeResult& r) { require(r.size() == 1 || r.size() >= 3); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // Bit 0 of the first byte: frame the rest as a well-formed reply, so that
  // the request checks behind the codec are reached as often as the codec.
  // The other bits give the count, negative ones included.
  const int32_t count = static_cast<int8_t>(data[0]) / 2;
  const ByteString rest(reinterpret_cast<const char*>(data + 1), size - 1);
  const ByteString raw = (data[0] & 1) ? modbus::BuildFrame(rest) : rest;

  const modbus::ExchangeResult decoded = modbus::DecodeReply(raw);
  checkShape(decoded);
  if (decoded.size() > 1) require(modbus::BuildFrame(decoded).size() == raw.size());

  modbus::testing::ImmediatePort port(raw);
  StepTick tick;
  StepPump pump(tick);
  const modbus::LinkServices link{port, tick, pump, nullptr};
  const modbus::ExchangeTiming timing{100, 10, 5};
  // The replying address, so that the checks behind the address check are reached.
  const uint8_t address = decoded.size() > 1 ? static_cast<uint8_t>(decoded[0]) : 0;

  using Read = modbus::ExchangeResult (*)(const modbus::LinkServices&, uint8_t, int,
                                          const modbus::ExchangeTiming&, uint8_t, int32_t, int32_t);
  for (Read read : {&modbus::ReadCoils, &modbus::ReadDiscreteInputs, &modbus::ReadHoldingRegisters,
                    &modbus::ReadInputRegisters}) {
    const modbus::ExchangeResult r = read(link, 1, 2, timing, address, 0, count);
    checkShape(r);
    if (r.size() > 1) require(static_cast<uint8_t>(r[2]) + 3u == r.size());
  }
  for (auto write : {&modbus::WriteMultipleCoils, &modbus::WriteMultipleRegisters}) {
    const modbus::ExchangeResult r = write(link, 1, 2, timing, address, 0, count, raw.substr(0, 8));
    checkShape(r);
    if (r.size() > 1) require(r.size() == 6);
  }
  return 0;
}
