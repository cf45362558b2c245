#pragma once

#include <string>

#include "ui/message_display.h"

// The main window's messages while it is open. An operation that ends after
// the window has closed (its exchange under way finishes first) has no one
// left to tell: a modal box then would keep the program running unseen.
class OpenWindowMessages final : public MessageDisplay {
 public:
  explicit OpenWindowMessages(MessageDisplay& display) : display_(display) {}

  void windowClosed() { open_ = false; }

  void error(const std::string& text) override {
    if (open_) display_.error(text);
  }
  void confirmation(const std::string& text) override {
    if (open_) display_.confirmation(text);
  }
  void exception(const std::string& text) override {
    if (open_) display_.exception(text);
  }

 private:
  MessageDisplay& display_;
  bool open_ = true;
};
