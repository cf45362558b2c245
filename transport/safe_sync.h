#pragma once

#include <cstdint>
#include <functional>

namespace transport {

// Hand-over registry: a process-wide table of 64 slots through which a worker
// thread runs a registered handler on the main thread (through the
// main-thread dispatcher), waiting at most a given time.

inline constexpr int kSafeSyncSlots = 64;

// Takes the lowest free slot, disabled; ids count from 1 and skip 0.
// 0 when all slots are in use.
uint32_t SafeSyncRegister(std::function<void()> handler);
bool SafeSyncUnregister(uint32_t id);
// Disabling also releases every call of the slot still waiting for the main
// thread: a queued handler call then never runs.
bool SafeSyncEnable(uint32_t id, bool enabled);
// Runs the slot's handler on the main thread and waits at most timeoutMs.
// Returns whether the slot is still assigned and enabled afterwards (a
// timed-out call whose slot is still enabled reports true); false at once for
// an unknown, free or disabled slot.
bool SafeSyncCall(uint32_t id, uint32_t timeoutMs);

}  // namespace transport
