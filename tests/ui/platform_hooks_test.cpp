#include "ui/platform_hooks.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "tests/ui/capturing_display.h"
#include "transport/application_exception_handler.h"
#include "transport/busy_cursor.h"
#include "transport/main_thread_dispatcher.h"

namespace {

using namespace std::chrono_literals;

// Runs the plain Qt event loop (nothing calls runPending by hand) until `done`
// or a generous limit.
template <typename Done>
void runEventLoopUntil(Done done) {
  QEventLoop loop;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (done()) loop.quit();
  });
  poll.start(5);
  QTimer::singleShot(30000, &loop, &QEventLoop::quit);
  loop.exec();
}

TEST(PlatformHooks, CallFromAPortThreadRunsOnTheMainThreadThroughTheEventLoop) {
  CapturingDisplay display;
  PlatformHooks hooks(display);
  Qt::HANDLE ranOn = nullptr;
  std::atomic<bool> finished{false};
  bool served = false;
  std::thread worker([&] {
    served = transport::MainThreadDispatcher::instance().call(
        [&] { ranOn = QThread::currentThreadId(); }, 30000ms);
    finished = true;
  });
  runEventLoopUntil([&] { return finished.load(); });
  worker.join();
  EXPECT_TRUE(served);
  EXPECT_EQ(ranOn, QThread::currentThreadId());
}

TEST(PlatformHooks, ExceptionOfAPortThreadIsShownOnTheMainThread) {
  CapturingDisplay display;
  PlatformHooks hooks(display);
  std::thread worker([] {
    transport::showApplicationException(std::runtime_error("Thread error - CommModBus "));
  });
  worker.join();
  EXPECT_TRUE(display.messages.empty()) << "never shown from the port's thread";
  runEventLoopUntil([&] { return !display.messages.empty(); });
  EXPECT_EQ(display.messages,
            (std::vector<CapturingDisplay::Message>{
                {CapturingDisplay::Message::kException, "Thread error - CommModBus "}}));

  transport::showApplicationException(std::runtime_error("on the main thread"));
  EXPECT_EQ(display.messages.size(), 2u) << "shown at once";
}

TEST(PlatformHooks, BusyCursorWhileThePortOpens) {
  CapturingDisplay display;
  PlatformHooks hooks(display);
  {
    transport::BusyCursor busy;
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  }
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
