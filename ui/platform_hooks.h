#pragma once

#include <QObject>

class MessageDisplay;

// Connects the serial port's platform hooks to Qt for the hooks' lifetime:
// the main-thread dispatcher wakes the event loop, exceptions of the port's
// threads are shown as message boxes, and the busy cursor appears while a
// port opens.
class PlatformHooks : public QObject {
  Q_OBJECT

 public:
  explicit PlatformHooks(MessageDisplay& messages);
  ~PlatformHooks() override;

  bool event(QEvent* event) override;
};
