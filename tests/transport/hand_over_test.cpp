#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "transport/application_exception_handler.h"
#include "transport/dispatcher_event_pump.h"
#include "transport/main_thread_dispatcher.h"
#include "transport/safe_sync.h"

namespace transport {
namespace {

using namespace std::chrono_literals;

// Pumps on this (the "main") thread until done() or a generous limit.
template <typename Done>
void pumpUntil(Done done) {
  DispatcherEventPump pump;
  const auto deadline = std::chrono::steady_clock::now() + 20s;
  while (!done() && std::chrono::steady_clock::now() < deadline) pump.ProcessEvents(50ms);
}

TEST(MainThreadDispatcher, RunsCallsOnThePumpingThreadOnly) {
  const auto mainId = std::this_thread::get_id();
  std::thread::id ranOn;
  std::atomic<bool> returned{false};
  bool result = false;
  std::thread worker([&] {
    result =
        MainThreadDispatcher::instance().call([&] { ranOn = std::this_thread::get_id(); }, 20000ms);
    returned = true;
  });
  pumpUntil([&] { return returned.load(); });
  worker.join();
  EXPECT_TRUE(result);
  EXPECT_EQ(ranOn, mainId);
}

TEST(MainThreadDispatcher, ACallThatTimedOutNeverRunsLater) {
  bool ran = false;
  std::thread worker(
      [&] { EXPECT_FALSE(MainThreadDispatcher::instance().call([&] { ran = true; }, 1ms)); });
  worker.join();
  MainThreadDispatcher::instance().runPending();
  EXPECT_FALSE(ran);
  EXPECT_FALSE(MainThreadDispatcher::instance().waitForPending(0us));
}

TEST(MainThreadDispatcher, WakeUpIsCalledForEveryPost) {
  std::atomic<int> wakes{0};
  MainThreadDispatcher::instance().setWakeUp([&] { ++wakes; });
  auto request = MainThreadDispatcher::instance().post([] {});
  EXPECT_EQ(wakes.load(), 1);
  EXPECT_TRUE(MainThreadDispatcher::instance().waitForPending(0us));
  MainThreadDispatcher::instance().runPending();
  EXPECT_TRUE(MainThreadDispatcher::instance().wait(request, 0ms));
  MainThreadDispatcher::instance().setWakeUp(nullptr);
}

class SafeSync : public ::testing::Test {
 protected:
  void TearDown() override {
    for (uint32_t id : ids_) SafeSyncUnregister(id);
  }
  uint32_t reg(std::function<void()> handler) {
    const uint32_t id = SafeSyncRegister(std::move(handler));
    if (id != 0) ids_.push_back(id);
    return id;
  }
  std::vector<uint32_t> ids_;
};

TEST_F(SafeSync, SixtyFifthRegistrationFailsAndIdZeroIsNeverFound) {
  for (int i = 0; i < kSafeSyncSlots; ++i) {
    const uint32_t id = reg([] {});
    ASSERT_NE(id, 0u) << "slot " << i;
  }
  EXPECT_EQ(reg([] {}), 0u);
  EXPECT_FALSE(SafeSyncEnable(0, true));
  EXPECT_FALSE(SafeSyncCall(0, 10));
  EXPECT_FALSE(SafeSyncUnregister(0));
  // A freed slot is taken again, with a new id.
  const uint32_t freed = ids_.front();
  ASSERT_TRUE(SafeSyncUnregister(freed));
  ids_.erase(ids_.begin());
  const uint32_t again = reg([] {});
  EXPECT_NE(again, 0u);
  EXPECT_NE(again, freed);
  EXPECT_FALSE(SafeSyncUnregister(freed));
}

TEST_F(SafeSync, IdsStartAtOneInAFreshProcess) {
  // Each test runs in its own process (gtest_discover_tests).
  EXPECT_EQ(reg([] {}), 1u);
  EXPECT_EQ(reg([] {}), 2u);
}

TEST_F(SafeSync, CallsOnlyEnabledSlotsOnTheMainThread) {
  std::atomic<int> calls{0};
  const uint32_t id = reg([&] { ++calls; });
  EXPECT_FALSE(SafeSyncCall(id, 1000));  // registered disabled
  ASSERT_TRUE(SafeSyncEnable(id, true));
  std::atomic<bool> done{false};
  bool result = false;
  std::thread worker([&] {
    result = SafeSyncCall(id, 20000);
    done = true;
  });
  pumpUntil([&] { return done.load(); });
  worker.join();
  EXPECT_TRUE(result);
  EXPECT_EQ(calls.load(), 1);
}

TEST_F(SafeSync, DisablingReleasesAWaitingCallAndItsHandlerNeverRuns) {
  std::atomic<int> calls{0};
  const uint32_t id = reg([&] { ++calls; });
  ASSERT_TRUE(SafeSyncEnable(id, true));
  std::atomic<bool> done{false};
  bool result = true;
  std::thread worker([&] {
    result = SafeSyncCall(id, 60000);
    done = true;
  });
  // Nobody pumps: the call is queued and waiting.
  ASSERT_TRUE(MainThreadDispatcher::instance().waitForPending(20s));
  ASSERT_TRUE(SafeSyncEnable(id, false));
  worker.join();  // returns long before the 60 s limit
  EXPECT_FALSE(result);
  MainThreadDispatcher::instance().runPending();
  EXPECT_EQ(calls.load(), 0);
}

TEST_F(SafeSync, TimedOutCallReportsTrueWhileTheSlotStaysEnabled) {
  const uint32_t id = reg([] {});
  ASSERT_TRUE(SafeSyncEnable(id, true));
  bool result = false;
  std::thread worker([&] { result = SafeSyncCall(id, 1); });
  worker.join();
  EXPECT_TRUE(result);
  MainThreadDispatcher::instance().runPending();
}

TEST_F(SafeSync, HandlerExceptionGoesToTheApplicationHandler) {
  std::string shown;
  setApplicationExceptionHandler([&](const std::exception& e) { shown = e.what(); });
  const uint32_t id = reg([] { throw std::runtime_error("boom"); });
  ASSERT_TRUE(SafeSyncEnable(id, true));
  std::atomic<bool> done{false};
  std::thread worker([&] {
    SafeSyncCall(id, 20000);
    done = true;
  });
  pumpUntil([&] { return done.load(); });
  worker.join();
  setApplicationExceptionHandler(nullptr);
  EXPECT_EQ(shown, "boom");
}

}  // namespace
}  // namespace transport
