#pragma once

#include <cstdio>
#include <string>

#include "ui/message_display.h"

// Messages on standard output instead of modal boxes, for the developer's
// tools that run the window unattended.
class PrintingDisplay final : public MessageDisplay {
 public:
  void error(const std::string& text) override { std::printf("error: %s\n", text.c_str()); }
  void confirmation(const std::string& text) override {
    std::printf("confirmation: %s\n", text.c_str());
  }
  void exception(const std::string& text) override { std::printf("exception: %s\n", text.c_str()); }
};
