#include "ui/platform_hooks.h"

#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QEvent>
#include <QThread>
#include <string>

#include "transport/application_exception_handler.h"
#include "transport/busy_cursor.h"
#include "transport/main_thread_dispatcher.h"
#include "ui/message_display.h"

namespace {

const QEvent::Type kWakeUp = static_cast<QEvent::Type>(QEvent::registerEventType());

bool onMainThread() { return QThread::currentThread() == QCoreApplication::instance()->thread(); }

}  // namespace

PlatformHooks::PlatformHooks(MessageDisplay& messages) {
  // Called on the posting thread; postEvent is safe from any thread, and the
  // event is delivered on ours, where runPending belongs. The hooks are made
  // before the serial port and outlive it, so no port thread posts to a
  // destroyed receiver.
  transport::MainThreadDispatcher::instance().setWakeUp(
      [this] { QCoreApplication::postEvent(this, new QEvent(kWakeUp)); });
  // A port thread may report too; widgets belong to the main thread.
  transport::setApplicationExceptionHandler([&messages](const std::exception& error) {
    if (onMainThread()) {
      messages.exception(error.what());
      return;
    }
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [&messages, text = std::string(error.what())] { messages.exception(text); },
        Qt::QueuedConnection);
  });
  transport::setBusyCursorHook([](bool busy) {
    if (!onMainThread()) return;
    if (busy) {
      QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
      QApplication::restoreOverrideCursor();
    }
  });
}

PlatformHooks::~PlatformHooks() {
  transport::MainThreadDispatcher::instance().setWakeUp({});
  transport::setApplicationExceptionHandler({});
  transport::setBusyCursorHook({});
  QCoreApplication::removePostedEvents(this, kWakeUp);
}

bool PlatformHooks::event(QEvent* event) {
  if (event->type() != kWakeUp) return QObject::event(event);
  transport::MainThreadDispatcher::instance().runPending();
  return true;
}
