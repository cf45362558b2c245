#include "transport/safe_sync.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <mutex>
#include <utility>
#include <vector>

#include "transport/application_exception_handler.h"
#include "transport/main_thread_dispatcher.h"

namespace transport {
namespace {

struct Slot {
  bool enabled = false;
  std::function<void()> handler;  // a slot is free while unassigned
  uint32_t id = 0;
  std::vector<MainThreadDispatcher::RequestPtr> inFlight;
};

struct Registry {
  std::mutex mutex;
  std::array<Slot, kSafeSyncSlots> slots;
  int count = 0;
  uint32_t idCounter = 0;
};

Registry& registry() {
  static Registry r;
  return r;
}

// Slots are scanned in order; the first with a matching id wins.
Slot* findSlot(Registry& r, uint32_t id) {
  for (Slot& s : r.slots) {
    if (s.id == id) return &s;
  }
  return nullptr;
}

void cancelInFlight(Slot& slot) {
  for (auto& request : slot.inFlight) MainThreadDispatcher::instance().cancel(request);
  slot.inFlight.clear();
}

// Runs on the main thread inside the dispatcher.
void dispatchSlot(uint32_t id) {
  std::function<void()> handler;
  {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    Slot* slot = findSlot(r, id);
    if (!slot || !slot->enabled || !slot->handler) return;
    handler = slot->handler;
  }
  try {
    handler();
  } catch (const std::exception& e) {
    showApplicationException(e);
  } catch (...) {
    showApplicationException(std::current_exception());
  }
}

}  // namespace

uint32_t SafeSyncRegister(std::function<void()> handler) {
  if (!handler) return 0;
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  for (Slot& s : r.slots) {
    if (s.handler) continue;
    s.enabled = false;
    s.handler = std::move(handler);
    if (++r.idCounter == 0) ++r.idCounter;
    s.id = r.idCounter;
    ++r.count;
    return s.id;
  }
  return 0;
}

bool SafeSyncUnregister(uint32_t id) {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  Slot* slot = findSlot(r, id);
  if (!slot || slot->id == 0) return false;
  cancelInFlight(*slot);
  slot->handler = nullptr;
  slot->enabled = false;
  slot->id = 0;
  --r.count;
  return true;
}

bool SafeSyncEnable(uint32_t id, bool enabled) {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  Slot* slot = findSlot(r, id);
  if (!slot || !slot->handler) return false;
  slot->enabled = enabled;
  if (!enabled) cancelInFlight(*slot);
  return true;
}

bool SafeSyncCall(uint32_t id, uint32_t timeoutMs) {
  Registry& r = registry();
  auto& dispatcher = MainThreadDispatcher::instance();
  MainThreadDispatcher::RequestPtr request;
  {
    std::lock_guard lock(r.mutex);
    Slot* slot = findSlot(r, id);
    if (!slot || !slot->handler || !slot->enabled) return false;
    request = dispatcher.post([id] { dispatchSlot(id); });
    slot->inFlight.push_back(request);
  }
  dispatcher.wait(request, std::chrono::milliseconds(timeoutMs));
  std::lock_guard lock(r.mutex);
  Slot* slot = findSlot(r, id);
  if (!slot) return false;
  auto& list = slot->inFlight;
  list.erase(std::remove(list.begin(), list.end(), request), list.end());
  return slot->handler && slot->enabled;
}

}  // namespace transport
