#pragma once

#include <exception>
#include <string>
#include <utility>

namespace transport {

// Base of the serial port family's errors: carries the message text.
class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  const char* what() const noexcept override { return message_.c_str(); }
  const std::string& Message() const noexcept { return message_; }

 private:
  std::string message_;
};

}  // namespace transport
