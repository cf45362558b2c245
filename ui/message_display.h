#pragma once

#include <string>

#include "device/message_sink.h"

// The window's modal messages: the device operations' errors and
// confirmations, and the application's display of an unexpected exception
// (a settings file it cannot write, a failure escaping the port's threads).
class MessageDisplay : public device::MessageSink {
 public:
  virtual void exception(const std::string& text) = 0;
};
