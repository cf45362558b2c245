#include "ui/qt_event_pump.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QPushButton>
#include <QTimer>
#include <chrono>
#include <thread>

#include "modbus/exchange.h"
#include "modbus/result_codes.h"
#include "modbus/steady_tick.h"
#include "tests/ui/silent_port.h"

namespace {

using namespace std::chrono_literals;

class CountingObject : public QObject {
 public:
  bool event(QEvent* e) override {
    if (e->type() != QEvent::User) return QObject::event(e);
    ++received;
    return true;
  }
  int received = 0;
};

TEST(QtEventPump, TimerAndClickAreServedWhileAnExchangeWaits) {
  SilentPort port;
  modbus::SteadyTick tick;
  QtEventPump pump;
  const modbus::LinkServices link{port, tick, pump, nullptr};

  QPushButton button;
  int clicks = 0;
  QObject::connect(&button, &QPushButton::clicked, [&] { ++clicks; });
  bool timerFired = false;
  QTimer::singleShot(5, [&] { timerFired = true; });
  QMetaObject::invokeMethod(&button, &QPushButton::click, Qt::QueuedConnection);

  // Nothing outside the exchange runs the event loop: whatever ran, ran
  // during its wait for the reply that never comes.
  const modbus::ExchangeResult result =
      modbus::Exchange(link, 1, 6, modbus::ExchangeTiming{2500, 1000, 50},
                       modbus::ByteString("\x00\x03\x00\x78\x00\x06", 6));
  EXPECT_EQ(result, modbus::ExchangeResult(1, static_cast<char>(modbus::kNoAnswer)));
  EXPECT_FALSE(port.written.empty());
  EXPECT_TRUE(timerFired);
  EXPECT_EQ(clicks, 1);
}

TEST(QtEventPump, ZeroWaitServesOnlyWhatIsPending) {
  QtEventPump pump;
  CountingObject target;
  QCoreApplication::postEvent(&target, new QEvent(QEvent::User));
  pump.ProcessEvents(0us);
  EXPECT_EQ(target.received, 1);
  // Nothing pending: returns instead of blocking.
  pump.ProcessEvents(0us);
  pump.ProcessEvents(-5us);
  EXPECT_EQ(target.received, 1);
}

TEST(QtEventPump, EventFromAnotherThreadEndsALongWait) {
  QtEventPump pump;
  CountingObject target;
  const auto start = std::chrono::steady_clock::now();
  std::thread poster([&] {
    std::this_thread::sleep_for(20ms);
    QCoreApplication::postEvent(&target, new QEvent(QEvent::User));
  });
  while (target.received == 0 && std::chrono::steady_clock::now() - start < 60s) {
    pump.ProcessEvents(60s);
  }
  poster.join();
  EXPECT_EQ(target.received, 1);
  // Well short of the wait asked for: the pump returned on the event.
  EXPECT_LT(std::chrono::steady_clock::now() - start, 30s);
}

TEST(QtEventPump, BoundedWaitReturnsWithoutEvents) {
  QtEventPump pump;
  modbus::SteadyTick tick;
  const uint32_t before = tick.Tick();
  // A sub-millisecond wait must not become a zero wait, nor hang.
  pump.ProcessEvents(300us);
  pump.ProcessEvents(20ms);
  EXPECT_GE(static_cast<int32_t>(tick.Tick() - before), 1);
}

}  // namespace
