#pragma once

#include <string>
#include <vector>

#include "modbus/exchange_observer.h"

namespace modbus::testing {

// Writes the dumps into the same log as the port, so their order is visible.
class RecordingObserver : public ExchangeObserver {
 public:
  explicit RecordingObserver(std::vector<std::string>& log) : log_(log) {}
  void QueryDumpChanged(const ByteString& hexDump) override {
    log_.push_back("QueryDump " + hexDump);
  }
  void AnswerDumpChanged(const ByteString& hexDump) override {
    log_.push_back("AnswerDump " + hexDump);
  }

 private:
  std::vector<std::string>& log_;
};

}  // namespace modbus::testing
