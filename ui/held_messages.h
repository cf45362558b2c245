#pragma once

#include <string>
#include <vector>

#include "device/message_sink.h"

// The messages of operations run as steps of a larger one: their errors are
// kept for the larger one to word its own message, their confirmations
// ("Коэффициенты калибровки считаны" after one read of three) dropped.
class HeldMessages final : public device::MessageSink {
 public:
  void error(const std::string& text) override { errors_.push_back(text); }
  void confirmation(const std::string&) override {}

  // The first error, or empty.
  std::string firstError() const { return errors_.empty() ? std::string() : errors_.front(); }

 private:
  std::vector<std::string> errors_;
};
