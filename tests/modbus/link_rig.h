#pragma once

#include <string>
#include <vector>

#include "fake_clock.h"
#include "fake_pump.h"
#include "modbus/exchange.h"
#include "recording_observer.h"
#include "scripted_port.h"

namespace modbus::testing {

// A scripted port, fake clock and pump and a recording observer wired together.
struct LinkRig {
  explicit LinkRig(uint32_t startTick = 1000) : clock(startTick) {}

  LinkServices link() { return LinkServices{port, clock, pump, &observer}; }

  // The log without the repeated polls of the input queue.
  std::vector<std::string> calls() const {
    std::vector<std::string> out;
    for (const auto& entry : log) {
      if (entry != "InBufUsed") out.push_back(entry);
    }
    return out;
  }

  std::vector<std::string> log;
  FakeClock clock;
  ScriptedPort port{clock, log};
  FakePump pump{clock};
  RecordingObserver observer{log};
};

inline ByteString bytes(std::initializer_list<int> values) {
  ByteString s;
  for (int v : values) s.push_back(static_cast<char>(v));
  return s;
}

}  // namespace modbus::testing
