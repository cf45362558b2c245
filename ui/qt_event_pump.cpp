#include "ui/qt_event_pump.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>

#include "transport/main_thread_dispatcher.h"

void QtEventPump::ProcessEvents(std::chrono::microseconds maxWait) {
  // The serial port's threads wait for the main thread with limits of their
  // own: serve their requests before anything else.
  transport::MainThreadDispatcher::instance().runPending();
  if (maxWait <= std::chrono::microseconds::zero()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return;
  }
  // A precise single-shot timer bounds the blocking wait. Qt timers count in
  // whole milliseconds; rounding up keeps a sub-millisecond wait from turning
  // into a zero wait that would spin. Any event ends the wait early, which
  // the exchange allows: it re-reads the tick after every return.
  const auto ms = std::chrono::ceil<std::chrono::milliseconds>(maxWait).count();
  QTimer limit;
  limit.setSingleShot(true);
  limit.setTimerType(Qt::PreciseTimer);
  limit.start(static_cast<int>(std::min<decltype(ms)>(ms, 1 << 30)));
  QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  // Qt's Windows dispatcher ends the wait on an event posted from another
  // thread but delivers it only at the start of the next processEvents,
  // which would then block until its own limit: deliver it now.
  QCoreApplication::sendPostedEvents();
  transport::MainThreadDispatcher::instance().runPending();
}
