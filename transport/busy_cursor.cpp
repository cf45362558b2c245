#include "transport/busy_cursor.h"

#include <mutex>
#include <utility>

namespace transport {
namespace {

std::mutex& hookMutex() {
  static std::mutex m;
  return m;
}

std::function<void(bool)>& hookSlot() {
  static std::function<void(bool)> h;
  return h;
}

void callHook(bool busy) {
  std::function<void(bool)> h;
  {
    std::lock_guard lock(hookMutex());
    h = hookSlot();
  }
  if (h) h(busy);
}

}  // namespace

void setBusyCursorHook(std::function<void(bool busy)> hook) {
  std::lock_guard lock(hookMutex());
  hookSlot() = std::move(hook);
}

BusyCursor::BusyCursor() { callHook(true); }
BusyCursor::~BusyCursor() { callHook(false); }

}  // namespace transport
