#pragma once

#include <QEvent>
#include <QObject>
#include <functional>

// Runs `onTimer` whenever the timer it is installed on fires, before the
// timer's own handlers: a test's way into the moment a poll begins.
class TimerEventHook : public QObject {
 public:
  explicit TimerEventHook(std::function<void()> onTimer) : onTimer_(std::move(onTimer)) {}
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Timer) onTimer_();
    return false;
  }

 private:
  std::function<void()> onTimer_;
};
