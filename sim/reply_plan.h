#pragma once

#include <string>

#include "sim/fault.h"

namespace sim {

// What goes on the line for one answered request, with the fault applied.
struct ReplyPlan {
  bool silent = false;
  std::string first;   // written whole once the turnaround (plus extra delay) has passed
  std::string second;  // written `pauseMs` after `first` (a split reply)
  int pauseMs = 0;
  int extraDelayMs = 0;
  bool stream = false;  // `first` is sent over and over without a pause
};

// Defaults when the fault's parameter is 0: the pause exceeds the longest
// exchange delay of the configurator's timing sets (1000 ms), the extra delay
// its standard response delay (2000 ms).
constexpr int kDefaultSplitPauseMs = 1100;
constexpr int kDefaultExtraDelayMs = 2500;

// `request` and `reply` are decoded payloads (address, function, data).
ReplyPlan PlanReply(Fault fault, int paramMs, const std::string& request, const std::string& reply);

}  // namespace sim
