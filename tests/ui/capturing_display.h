#pragma once

#include <string>
#include <vector>

#include "ui/message_display.h"

// Records the window's messages instead of showing modal boxes.
class CapturingDisplay final : public MessageDisplay {
 public:
  struct Message {
    enum Kind { kError, kConfirmation, kException } kind;
    std::string text;
    bool operator==(const Message&) const = default;
  };

  void error(const std::string& text) override { messages.push_back({Message::kError, text}); }
  void confirmation(const std::string& text) override {
    messages.push_back({Message::kConfirmation, text});
  }
  void exception(const std::string& text) override {
    messages.push_back({Message::kException, text});
  }

  std::vector<Message> messages;
};
